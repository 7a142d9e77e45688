"""Small raster toolkit for the program's pictures: shapes and a canvas; Pillow makes the palettes
and writes the BMP and ICO files.

Shapes are signed-distance functions (negative inside); a canvas paints a shape by sampling it
on a grid inside each pixel, which gives anti-aliased edges where a picture may use many colours
and hard edges (one sample) where its palette is small.
"""

import collections
import contextlib
import io
import math
import struct

from PIL import BmpImagePlugin, Image

# ---------------------------------------------------------------------------------------------
# Shapes. Each is a function (x, y) -> signed distance in pixels, with a bounding box attached.


class Shape:
    def __init__(self, sdf, box):
        self.sdf = sdf
        self.box = box  # (x0, y0, x1, y1) in picture coordinates

    def __or__(self, other):
        return Shape(lambda x, y: min(self.sdf(x, y), other.sdf(x, y)), _union_box(self.box, other.box))

    def __and__(self, other):
        return Shape(lambda x, y: max(self.sdf(x, y), other.sdf(x, y)), self.box)

    def __sub__(self, other):
        return Shape(lambda x, y: max(self.sdf(x, y), -other.sdf(x, y)), self.box)

    def outline(self, width):
        """The band of the given width centred on the shape's edge."""
        h = width / 2.0
        x0, y0, x1, y1 = self.box
        return Shape(lambda x, y: abs(self.sdf(x, y)) - h, (x0 - h, y0 - h, x1 + h, y1 + h))

    def grow(self, d):
        x0, y0, x1, y1 = self.box
        return Shape(lambda x, y: self.sdf(x, y) - d, (x0 - d, y0 - d, x1 + d, y1 + d))

    def moved(self, dx, dy):
        x0, y0, x1, y1 = self.box
        return Shape(lambda x, y: self.sdf(x - dx, y - dy), (x0 + dx, y0 + dy, x1 + dx, y1 + dy))

    def scaled(self, k):
        """The shape k times as large, about the picture's top-left corner."""
        x0, y0, x1, y1 = self.box
        return Shape(lambda x, y: self.sdf(x / k, y / k) * k, (x0 * k, y0 * k, x1 * k, y1 * k))


def _union_box(a, b):
    return (min(a[0], b[0]), min(a[1], b[1]), max(a[2], b[2]), max(a[3], b[3]))


def ellipse(cx, cy, rx, ry, angle=0.0):
    """An ellipse, optionally turned by angle degrees (clockwise on screen)."""
    ca, sa = math.cos(math.radians(angle)), math.sin(math.radians(angle))
    r = max(rx, ry)
    m = min(rx, ry)

    def sdf(x, y):
        dx, dy = x - cx, y - cy
        u = dx * ca + dy * sa
        v = -dx * sa + dy * ca
        k = math.hypot(u / rx, v / ry)
        # Scaled radial distance: exact for circles, close enough for the gentle ellipses here.
        return (k - 1.0) * m

    return Shape(sdf, (cx - r, cy - r, cx + r, cy + r))


def circle(cx, cy, r):
    return Shape(lambda x, y: math.hypot(x - cx, y - cy) - r, (cx - r, cy - r, cx + r, cy + r))


def rect(x0, y0, x1, y1):
    def sdf(x, y):
        return max(x0 - x, x - x1, y0 - y, y - y1)

    return Shape(sdf, (x0, y0, x1, y1))


def rounded_rect(x0, y0, x1, y1, r):
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hx, hy = (x1 - x0) / 2.0 - r, (y1 - y0) / 2.0 - r

    def sdf(x, y):
        qx = abs(x - cx) - hx
        qy = abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - r

    return Shape(sdf, (x0, y0, x1, y1))


def _seg_dist(px, py, ax, ay, bx, by):
    """Distance from p to segment ab, and the position t (0..1) of the nearest point."""
    vx, vy = bx - ax, by - ay
    ll = vx * vx + vy * vy
    t = 0.0 if ll == 0 else max(0.0, min(1.0, ((px - ax) * vx + (py - ay) * vy) / ll))
    return math.hypot(px - ax - t * vx, py - ay - t * vy), t


def polygon(points):
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    n = len(points)

    def sdf(x, y):
        d = float("inf")
        inside = False
        j = n - 1
        for i in range(n):
            xi, yi = points[i]
            xj, yj = points[j]
            d = min(d, _seg_dist(x, y, xi, yi, xj, yj)[0])
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                inside = not inside
            j = i
        return -d if inside else d

    return Shape(sdf, (min(xs), min(ys), max(xs), max(ys)))


def stroke(points, width, end_width=None):
    """A thick polyline with round ends. With end_width the width tapers linearly along it,
    which reads as a brush stroke."""
    w0 = float(width)
    w1 = float(width if end_width is None else end_width)
    lengths = [0.0]
    for a, b in zip(points, points[1:]):
        lengths.append(lengths[-1] + math.hypot(b[0] - a[0], b[1] - a[1]))
    total = lengths[-1] or 1.0
    pad = max(w0, w1) / 2.0
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]

    def sdf(x, y):
        best = float("inf")
        for i in range(len(points) - 1):
            (ax, ay), (bx, by) = points[i], points[i + 1]
            d, t = _seg_dist(x, y, ax, ay, bx, by)
            s = (lengths[i] + t * (lengths[i + 1] - lengths[i])) / total
            best = min(best, d - (w0 + (w1 - w0) * s) / 2.0)
        return best

    return Shape(sdf, (min(xs) - pad, min(ys) - pad, max(xs) + pad, max(ys) + pad))


def bezier(p0, p1, p2, p3=None, steps=24):
    """Points along a quadratic (three points) or cubic (four points) Bezier curve."""
    pts = []
    for i in range(steps + 1):
        t = i / steps
        u = 1 - t
        if p3 is None:
            x = u * u * p0[0] + 2 * u * t * p1[0] + t * t * p2[0]
            y = u * u * p0[1] + 2 * u * t * p1[1] + t * t * p2[1]
        else:
            x = u**3 * p0[0] + 3 * u * u * t * p1[0] + 3 * u * t * t * p2[0] + t**3 * p3[0]
            y = u**3 * p0[1] + 3 * u * u * t * p1[1] + 3 * u * t * t * p2[1] + t**3 * p3[1]
        pts.append((x, y))
    return pts


def arc(cx, cy, rx, ry, a0, a1, steps=24):
    """Points along an elliptical arc from a0 to a1 degrees (0 = right, 90 = down)."""
    return [
        (cx + rx * math.cos(math.radians(a0 + (a1 - a0) * i / steps)),
         cy + ry * math.sin(math.radians(a0 + (a1 - a0) * i / steps)))
        for i in range(steps + 1)
    ]


# ---------------------------------------------------------------------------------------------
# Canvas


class Canvas:
    """RGB pixels. samples=1 paints hard edges (one sample at each pixel's centre); larger values
    paint anti-aliased edges from samples x samples points per pixel."""

    def __init__(self, width, height, background, samples=1):
        self.w = width
        self.h = height
        self.samples = samples
        self.px = [[tuple(background) for _ in range(width)] for _ in range(height)]

    def fill(self, shape, colour, alpha=1.0):
        """Paint a shape; colour may be an RGB tuple or a function (x, y) -> RGB."""
        x0, y0, x1, y1 = shape.box
        n = self.samples
        offs = [(i + 0.5) / n for i in range(n)]
        for y in range(max(0, int(math.floor(y0)) - 1), min(self.h, int(math.ceil(y1)) + 2)):
            row = self.px[y]
            for x in range(max(0, int(math.floor(x0)) - 1), min(self.w, int(math.ceil(x1)) + 2)):
                if n == 1:
                    cover = 1.0 if shape.sdf(x + 0.5, y + 0.5) < 0 else 0.0
                else:
                    # Far from the edge one sample decides the whole pixel.
                    d = shape.sdf(x + 0.5, y + 0.5)
                    if d > 1.0:
                        continue
                    if d < -1.0:
                        cover = 1.0
                    else:
                        hits = sum(1 for oy in offs for ox in offs if shape.sdf(x + ox, y + oy) < 0)
                        cover = hits / (n * n)
                if cover <= 0.0:
                    continue
                c = colour(x, y) if callable(colour) else colour
                a = cover * alpha
                if a >= 1.0:
                    row[x] = tuple(c)
                else:
                    old = row[x]
                    row[x] = tuple(int(round(old[k] + (c[k] - old[k]) * a)) for k in range(3))

    def put(self, x, y, colour):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = tuple(colour)

    def image(self):
        """The pixels as a Pillow RGB image."""
        im = Image.new("RGB", (self.w, self.h))
        im.putdata([c for row in self.px for c in row])
        return im


def from_ascii(rows, legend):
    """A canvas from a character grid: each character is looked up in legend (char -> RGB)."""
    h = len(rows)
    w = len(rows[0])
    for r in rows:
        if len(r) != w:
            raise ValueError("ragged row %r (%d, expected %d)" % (r, len(r), w))
    c = Canvas(w, h, (0, 0, 0))
    for y, r in enumerate(rows):
        for x, ch in enumerate(r):
            c.px[y][x] = legend[ch]
    return c


# ---------------------------------------------------------------------------------------------
# Palettes and files, made by Pillow


def with_palette(image, palette):
    """The image on a fixed palette (a list of RGB tuples) that holds every colour it uses."""
    swatch = Image.new("P", (1, 1))
    swatch.putpalette([v for c in palette for v in c])
    out = image.quantize(palette=swatch, dither=Image.Dither.NONE)
    if out.convert("RGB").tobytes() != image.tobytes():
        raise ValueError("the picture uses colours outside its palette")
    return out


def with_key_palette(image, key, size=256):
    """The image on a palette of size entries with the key colour at index 0, exact and used by
    the key's pixels alone, so that only they turn transparent. The other colours are kept when
    they fit and reduced by Pillow when they do not."""
    pixels = list(image.getdata())
    # The key's pixels take no part in the reduction: they are painted the commonest other colour.
    common = collections.Counter(c for c in pixels if c != key).most_common(1)[0][0]
    rest = Image.new("RGB", image.size)
    rest.putdata([common if c == key else c for c in pixels])
    # Maximum coverage refined by k-means keeps the anti-aliased shades closest to the drawing.
    out = rest.quantize(size - 1, method=Image.Quantize.MAXCOVERAGE, kmeans=1)
    flat = out.getpalette()[:3 * (size - 1)]
    # A reduced colour equal to the key would turn transparent too: move it one step.
    others = [tuple(flat[i:i + 3]) for i in range(0, len(flat), 3)]
    others = [tuple(max(0, v - 1) for v in c) if c == key else c for c in others]
    out = out.point(lambda i: min(i + 1, size - 1))
    mask = Image.new("1", image.size)
    mask.putdata([1 if c == key else 0 for c in pixels])
    out.paste(0, mask=mask)
    palette = [key] + others + [(0, 0, 0)] * (size - 1 - len(others))
    out.putpalette([v for c in palette for v in c])
    return out


@contextlib.contextmanager
def _packed(image):
    """Pillow writes every palette image with 8 bits a pixel; one of at most 16 colours gets 4,
    through Pillow's own 4-bit packer, so that it is the 16-colour bitmap the program loads."""
    saved = BmpImagePlugin.SAVE["P"]
    if len(image.getpalette()) <= 16 * 3:
        BmpImagePlugin.SAVE["P"] = ("P;4", 4, 16)
    try:
        yield
    finally:
        BmpImagePlugin.SAVE["P"] = saved


def save_bmp(path, image):
    with _packed(image):
        image.save(path, "BMP", dpi=(72, 72))


def with_own_palette(image, size=256):
    """The image on a palette of exactly its own colours, padded to size entries."""
    colours = sorted(set(image.getdata()))
    if len(colours) > size:
        raise ValueError("the picture uses %d colours, more than %d" % (len(colours), size))
    # Indexed by hand: Pillow's mapping onto a given palette is approximate for close colours.
    index = {c: i for i, c in enumerate(colours)}
    out = Image.new("P", image.size)
    out.putpalette([v for c in colours + [(0, 0, 0)] * (size - len(colours)) for v in c])
    out.putdata([index[c] for c in image.getdata()])
    return out


def save_ico(path, images):
    """An icon file, fully opaque: each palette image a DIB of 16 or 256 colours with a clear
    AND mask, and an RGB image (the 256-pixel one) a PNG with full alpha. Pillow writes each
    image; its icon writer makes 8-bit images only (and sizes every AND mask for the largest),
    so the directory is put together here."""
    entries = []
    for image in images:
        w, h = image.size
        buf = io.BytesIO()
        if image.mode == "P":
            with _packed(image):
                image.save(buf, "DIB", dpi=(72, 72))
            dib = buf.getvalue()
            bpp = struct.unpack_from("<H", dib, 14)[0]
            # An icon's height counts the colour image and the AND mask below it; a clear mask
            # is fully opaque.
            mask = bytes(((w + 31) // 32) * 4 * h)
            blob = dib[:8] + struct.pack("<i", 2 * h) + dib[12:] + mask
            entries.append((w, h, 16 if bpp == 4 else 0, bpp, blob))
        else:
            image.convert("RGBA").save(buf, "PNG", optimize=True)
            entries.append((w, h, 0, 32, buf.getvalue()))
    out = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for w, h, colours, bpp, blob in entries:
        out += struct.pack("<BBBBHHII", w % 256, h % 256, colours, 0, 1, bpp, len(blob), offset)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(out + b"".join(e[-1] for e in entries))
