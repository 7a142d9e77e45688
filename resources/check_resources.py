#!/usr/bin/env python3
"""Checks the generated pictures and icon against what the program and its layout expect.

Usage: check_resources.py [RESOURCE_DIR]   (default: the folder of this script)

Reads the files with its own small parser, so it needs nothing beyond Python 3. Prints one line
per check and a closing "N passed, N failed" line; exits non-zero when any check fails.
"""

import os
import struct
import sys
import zlib

WHITE = (255, 255, 255)
SILVER = (192, 192, 192)

# name: (width, height, bits per pixel, colours used or None, transparent colour or None)
PICTURES = {
    "check.bmp": (151, 172, 8, None, WHITE),
    "open.bmp": (16, 16, 4, None, SILVER),
    "edit.bmp": (32, 32, 8, 9, "near-white"),
    "help.bmp": (32, 32, 8, 6, "near-white"),
    "congrat.bmp": (540, 342, 4, None, None),
}


def read_dib(data, offset, height_factor=1):
    """Parses a BITMAPINFOHEADER DIB at offset; returns (width, height, bpp, palette, rows)
    with rows top-down as lists of RGB tuples, and the offset just past the pixel rows."""
    (size, width, height, planes, bpp, compression, _, _, _, used,
     _) = struct.unpack_from("<IiiHHIIiiII", data, offset)
    if size != 40 or planes != 1 or compression != 0 or bpp not in (4, 8):
        raise ValueError("unexpected DIB header (size %d, planes %d, compression %d, bpp %d)" %
                         (size, planes, compression, bpp))
    if height <= 0:
        raise ValueError("DIB is not bottom-up")
    height //= height_factor
    ncolours = used or (1 << bpp)
    pal_off = offset + size
    palette = [(data[pal_off + 4 * i + 2], data[pal_off + 4 * i + 1], data[pal_off + 4 * i])
               for i in range(ncolours)]
    stride = ((width * bpp + 31) // 32) * 4
    pix_off = pal_off + 4 * ncolours
    rows = []
    for r in range(height):
        line = data[pix_off + r * stride:pix_off + (r + 1) * stride]
        if bpp == 8:
            idx = list(line[:width])
        else:
            idx = [(line[i // 2] >> (4 if i % 2 == 0 else 0)) & 15 for i in range(width)]
        rows.append([palette[i] for i in idx])
    rows.reverse()
    return width, height, bpp, palette, rows, pix_off + height * stride


def read_bmp(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:2] != b"BM":
        raise ValueError("not a BMP file")
    return read_dib(data, 14)


def is_near_white(c):
    return min(c) >= 240


class Checker:
    def __init__(self):
        self.passed = 0
        self.failed = 0

    def check(self, ok, what):
        if ok:
            self.passed += 1
            print("ok    " + what)
        else:
            self.failed += 1
            print("FAIL  " + what)


def check_picture(chk, folder, name, wanted):
    want_w, want_h, want_bpp, want_used, key = wanted
    w, h, bpp, _, rows, _ = read_bmp(os.path.join(folder, name))
    chk.check((w, h) == (want_w, want_h), "%s is %dx%d (want %dx%d)" % (name, w, h, want_w, want_h))
    chk.check(bpp == want_bpp, "%s has %d bits per pixel (want %d)" % (name, bpp, want_bpp))
    used = {c for row in rows for c in row}
    limit = 1 << want_bpp
    if want_used is not None:
        chk.check(len(used) == want_used, "%s uses %d colours (want %d)" % (name, len(used),
                                                                          want_used))
    else:
        chk.check(1 < len(used) <= limit, "%s uses %d colours (at most %d)" % (name, len(used), limit))
    bottom_left = rows[-1][0]
    if key is None:
        # Shown opaque on white: the background must be white.
        chk.check(bottom_left == WHITE, "%s has a white background" % name)
        return
    if key == "near-white":
        chk.check(is_near_white(bottom_left) and bottom_left != WHITE,
                  "%s bottom-left %s is a near-white other than pure white" % (name, bottom_left))
        whites = {c for c in used if is_near_white(c) and c != bottom_left}
        chk.check(len(whites) >= 1, "%s draws its white in a colour other than the surround" % name)
    else:
        chk.check(bottom_left == key, "%s bottom-left %s is the transparent %s" % (name,
                                                                                  bottom_left, key))
    # Every surround pixel must be reachable from the edge: a key-coloured pixel enclosed by the
    # drawing would show as a hole of button face inside it.
    seen = set()
    todo = [(x, y) for x in range(w) for y in (0, h - 1)] + [(x, y) for y in range(h)
                                                            for x in (0, w - 1)]
    while todo:
        x, y = todo.pop()
        if (x, y) in seen or not (0 <= x < w and 0 <= y < h) or rows[y][x] != bottom_left:
            continue
        seen.add((x, y))
        todo += [(x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)]
    holes = sum(1 for row in rows for c in row if c == bottom_left) - len(seen)
    chk.check(holes == 0, "%s has no transparent holes inside the drawing (%d)" % (name, holes))
    inner = w * h - len(seen)
    chk.check(inner > w * h // 8, "%s has a drawing on its surround (%d pixels)" % (name, inner))
    if name == "check.bmp":
        corners = [rows[0][0], rows[0][-1], rows[-1][-1], rows[1][1], rows[-2][-2]]
        chk.check(all(c == bottom_left for c in corners), "check.bmp card has rounded corners")


# Every size Windows shows the icon in, 100 % to 200 %: (bits per pixel, directory colour count).
# The 16 and 32 pixel images are the 16-colour ones of old; the 256 pixel one is a PNG.
ICON_IMAGES = {16: (4, 16), 20: (8, 0), 24: (8, 0), 32: (4, 16), 40: (8, 0), 48: (8, 0),
               64: (8, 0), 256: (32, 0)}
PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"
CYAN = (0, 255, 255)


def read_png(data):
    """Decodes a PNG of 8-bit RGBA, the one kind an icon's PNG image may be (not interlaced);
    returns (width, height, rows) with rows top-down as lists of RGBA tuples."""
    if data[:8] != PNG_SIGNATURE:
        raise ValueError("not a PNG")
    pos, header, idat = 8, None, b""
    while pos < len(data):
        length, kind = struct.unpack_from(">I4s", data, pos)
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        elif kind == b"IEND":
            break
        pos += 12 + length
    if header is None:
        raise ValueError("PNG without IHDR")
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour != 6 or interlace:
        raise ValueError("unexpected PNG (depth %d, colour type %d, interlace %d)" %
                         (depth, colour, interlace))
    bpp = 4
    stride = width * bpp
    raw = zlib.decompress(idat)
    rows, prev = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append([tuple(line[x:x + 4]) for x in range(0, stride, bpp)])
        prev = line
    return width, height, rows


def check_face(chk, size, colours):
    cyan = sum(1 for c in colours if c == CYAN)
    chk.check(cyan > 0 and len(set(colours)) > 4, "icon %d shows a face on cyan" % size)


def check_icon(chk, folder):
    with open(os.path.join(folder, "nenga.ico"), "rb") as f:
        data = f.read()
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    chk.check(reserved == 0 and kind == 1, "nenga.ico is an icon file")
    sizes = []
    for i in range(count):
        (bw, bh, ncol, _, planes, bpp, nbytes,
         offset) = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        size = bw or 256
        sizes.append(size)
        want_bpp, want_ncol = ICON_IMAGES.get(size, (None, None))
        chk.check(bh == bw and planes == 1 and (bpp, ncol) == (want_bpp, want_ncol),
                  "icon %d: directory says %dx%d, %d bpp, %d colours" % (size, bw or 256, bh or 256,
                                                                      bpp, ncol))
        blob = data[offset:offset + nbytes]
        if size == 256:
            chk.check(blob[:8] == PNG_SIGNATURE, "icon 256 is a PNG")
            w, h, rows = read_png(blob)
            chk.check((w, h) == (256, 256), "icon 256 is %dx%d" % (w, h))
            chk.check(all(c[3] == 255 for row in rows for c in row), "icon 256 is fully opaque")
            check_face(chk, size, [c[:3] for row in rows for c in row])
            continue
        w, h, dib_bpp, _, rows, end = read_dib(data, offset, height_factor=2)
        chk.check((w, h) == (size, size), "icon %d is %dx%d" % (size, w, h))
        chk.check(dib_bpp == want_bpp, "icon %d has %d bits per pixel in its DIB" % (size, dib_bpp))
        mask_stride = ((w + 31) // 32) * 4
        mask = data[end:end + mask_stride * h]
        chk.check(len(mask) == mask_stride * h and not any(mask), "icon %d is fully opaque" % size)
        chk.check(end + mask_stride * h == offset + nbytes, "icon %d size matches" % size)
        check_face(chk, size, [c for row in rows for c in row])
    chk.check(sorted(sizes) == sorted(ICON_IMAGES),
              "icon sizes are %s (got %s)" % (sorted(ICON_IMAGES), sorted(sizes)))


def main(argv):
    folder = argv[1] if len(argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    chk = Checker()
    for name, wanted in PICTURES.items():
        try:
            check_picture(chk, folder, name, wanted)
        except (OSError, ValueError, struct.error) as e:
            chk.check(False, "%s readable: %s" % (name, e))
    try:
        check_icon(chk, folder)
    except (OSError, ValueError, struct.error) as e:
        chk.check(False, "nenga.ico readable: %s" % e)
    print("%d passed, %d failed" % (chk.passed, chk.failed))
    return 1 if chk.failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
