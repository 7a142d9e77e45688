#!/usr/bin/env python3
"""Draws the program's icon and pictures and writes them as BMP and ICO files.

Usage: draw_pictures.py OUTPUT_DIR

Every picture is drawn from the shapes and pixel grids below, so changing one means editing this
file and running resources/regenerate.sh. The buttons take their transparent colour from the
bottom-left pixel, so each button picture keeps its surround colour there.
"""

import math
import os
import random
import sys

from imagelib import (Canvas, arc, bezier, circle, ellipse, from_ascii, polygon, rect, rounded_rect,
                      save_bmp, save_ico, stroke, with_key_palette, with_own_palette,
                      with_palette)

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
SILVER = (192, 192, 192)

# The standard 16-colour Windows palette, for the small folder picture.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255)
]

# Edit and help: the surround is a near-white that is not the drawing's white, so the drawing's
# white stays white when the surround turns transparent.
NEAR_WHITE_KEY = (250, 250, 250)
PAPER_WHITE = (255, 255, 255)


# ---------------------------------------------------------------------------------------------
# Open: 16 x 16, the usual open folder with a curved arrow dropping into it.

OPEN_ROWS = [
    "................",
    "................",
    "........kkkk....",
    ".......k....k...",
    "......k......k..",
    ".kkkk......kkkkk",
    "kyyyyk......kkk.",
    "kywyyykkkkk..k..",
    "kyyywyywyyk.....",
    "kywyykkkkkkkkkkk",
    "kyyykyyyyyyyyyok",
    "kywkyyyyyyyyyok.",
    "kykyyyyyyyyyok..",
    "kkoooooooooook..",
    "kkkkkkkkkkkkk...",
    "................",
]


def draw_open():
    legend = {".": SILVER, "k": BLACK, "y": (255, 255, 0), "o": (128, 128, 0), "w": WHITE}
    return from_ascii(OPEN_ROWS, legend)


# ---------------------------------------------------------------------------------------------
# Help: 32 x 32, speech balloon with a blue question mark.

HELP_QUESTION = [
    "..bbbbb..",
    ".bbbbbbb.",
    "bbb...bbb",
    "bbb...bbb",
    ".....bbb.",
    "....bbb..",
    "...bbb...",
    "...bbb...",
    ".........",
    "...bbb...",
    "...bbb...",
]


def balloon_shape():
    body = ellipse(14.5, 13.0, 13.0, 11.5)
    tail = polygon([(8.0, 20.0), (14.0, 22.5), (6.0, 29.5)])
    return body | tail


def draw_help():
    c = Canvas(32, 32, NEAR_WHITE_KEY)
    grey = (128, 128, 128)
    blue = (0, 0, 255)
    navy = (0, 0, 128)
    shape = balloon_shape()
    c.fill(shape.moved(2, 2), grey)
    c.fill(shape, BLACK)
    c.fill(shape.grow(-1.1), PAPER_WHITE)
    ox, oy = 10, 7
    for y, row in enumerate(HELP_QUESTION):
        for x, ch in enumerate(row):
            if ch == "b":
                c.put(ox + x, oy + y, blue)
                # A dark edge on the right and below makes the mark read as bold.
                for dx, dy in ((1, 0), (0, 1)):
                    nx, ny = x + dx, y + dy
                    inside = 0 <= ny < len(HELP_QUESTION) and 0 <= nx < len(row) and \
                        HELP_QUESTION[ny][nx] == "b"
                    if not inside and c.px[oy + ny][ox + nx] == PAPER_WHITE:
                        c.put(ox + nx, oy + ny, navy)
    return c


# ---------------------------------------------------------------------------------------------
# Edit: 32 x 32, open spiral notebook with a gloved hand writing with a magenta pen.


def draw_edit():
    c = Canvas(32, 32, NEAR_WHITE_KEY)
    red = (232, 0, 0)
    dark_red = (128, 0, 0)
    rule = (64, 128, 255)
    grey = (144, 144, 144)
    magenta = (255, 0, 255)
    purple = (144, 0, 144)

    # Red cover, showing below and left of the pages, seen slightly from above.
    pages = polygon([(6.5, 7.5), (25.5, 6.0), (27.5, 25.5), (8.5, 27.0)])
    cover = polygon([(3.0, 9.5), (24.5, 8.0), (27.0, 29.0), (5.5, 30.5)])
    c.fill(cover.grow(0.9), BLACK)
    c.fill(cover, red)
    c.fill(stroke([(5.6, 29.6), (26.4, 28.1)], 1.2), dark_red)
    c.fill(stroke([(3.8, 11.0), (5.2, 28.8)], 1.0), dark_red)
    c.fill(pages.grow(0.9), BLACK)
    c.fill(pages, PAPER_WHITE)
    for i in range(5):
        y0 = 12.8 + i * 3.0
        c.fill(stroke([(9.0, y0 + 0.2), (25.0, y0 - 1.0)], 0.9), rule)
    # Spiral rings along the top edge.
    for i in range(6):
        x = 9.0 + i * 3.0
        y = 7.6 - i * 0.22
        c.fill(stroke([(x, y + 2.0), (x, y - 2.2)], 1.1), BLACK)
        c.put(int(x), int(y) + 2, grey)
    # The pen, and the gloved hand gripping it halfway along.
    c.fill(stroke([(30.8, 0.6), (13.6, 20.2)], 3.6), BLACK)
    c.fill(stroke([(30.6, 0.8), (14.6, 19.0)], 1.8), magenta)
    c.fill(stroke([(31.2, 1.8), (15.6, 19.6)], 0.8), purple)
    c.fill(polygon([(12.6, 19.0), (15.4, 21.4), (11.4, 23.2)]), BLACK)
    glove = (ellipse(22.8, 11.2, 4.2, 3.3, angle=-35) | ellipse(20.0, 13.4, 2.3, 1.5, angle=-35)
             | stroke([(23.0, 11.6), (31.5, 13.5)], 5.6))
    c.fill(glove.grow(1.0), BLACK)
    c.fill(glove, PAPER_WHITE)
    c.fill(stroke([(21.4, 10.8), (24.4, 8.6)], 0.8), grey)
    c.fill(stroke([(22.6, 13.0), (25.8, 10.8)], 0.8), grey)
    c.fill(stroke([(28.6, 10.2), (27.8, 16.6)], 1.1), BLACK)
    return c


# ---------------------------------------------------------------------------------------------
# Icon: a comic face in the sizes Windows asks for at 100 % to 200 % (16 to 64) and in
# Explorer's largest view (256). 16 x 16 is drawn by hand, without the heart; the others come
# from one drawing. 16 and 32 have the 16 icon colours; the others are anti-aliased, in 256
# colours (a PNG in full colour at 256).

ICON_SIZES = (256, 64, 48, 40, 32, 24, 20, 16)

ICON_COLOURS = {
    ".": (0, 255, 255),  # cyan background
    "h": (128, 0, 0),  # dark-red hair
    "H": (176, 24, 24),  # hair highlight
    "s": (255, 255, 160),  # pale-yellow skin
    "S": (224, 200, 112),  # skin shadow
    "w": (255, 255, 255),
    "b": (0, 0, 255),  # pupils
    "k": (0, 0, 0),
    "m": (96, 0, 0),  # mouth
    "r": (255, 0, 0),  # heart
    "p": (255, 160, 160),  # heart highlight
    "c": (0, 160, 176),  # background shade
}

ICON16 = [
    "..hhhhhhhhhhhh..",
    ".hhHhhhhhhhhhhh.",
    "hhHhhhhhhhhhhhhh",
    "hhhhssssssssshhh",
    "hhhsssssssssssh.",
    "hhkkkssssssskkkh",
    "hhssskkssskksssh",
    "hhswwwwssswwwwsh",
    "hhswwbbsssbbwwsh",
    "hhswwbbsssbbwwsh",
    "hhsswwssSsswwssh",
    "hhssssssSssssssh",
    "hhsskkkkkkkkkssh",
    "hhsssssmmsssssh.",
    ".hhsssssssssshh.",
    ".hhhSSssssSShhh.",
]


def draw_icon(size):
    """The face at size pixels, drawn in a 32-pixel frame scaled to fit: at 32 with hard edges
    on the 16 icon colours, at the other sizes anti-aliased."""
    col = ICON_COLOURS
    c = Canvas(size, size, col["."], samples=1 if size == 32 else 4)
    k = size / 32.0

    def fill(shape, colour):
        c.fill(shape if size == 32 else shape.scaled(k), colour)

    # Hair: a mass behind the face, falling to the bottom edge on both sides.
    hair = ellipse(16, 12, 15.5, 12.5) | rounded_rect(0.5, 8, 31.5, 32.5, 5)
    fill(hair, col["h"])
    fill(stroke([(6, 6), (10, 3), (15, 2)], 1.2), col["H"])
    fill(stroke([(3, 14), (3, 26)], 1.0), col["H"])
    fill(stroke([(28.5, 14), (28.5, 26)], 1.0), col["H"])
    face = ellipse(16, 18, 11.5, 13.5) - ellipse(16, 2.5, 14.5, 6.5)
    fill(face, col["s"])
    # Fringe falling onto the forehead.
    fringe = polygon([(5, 7), (27, 7), (25.5, 9.8), (20, 8.6), (16, 10.2), (12, 8.6), (6.5, 9.8)])
    fill(fringe, col["h"])
    fill(stroke([(7, 30.5), (16, 31.8), (25, 30.5)], 1.5), col["S"])
    # Eyes: big whites, pupils turned towards the nose.
    for cx, pdx in ((10.0, 1.5), (22.0, -1.5)):
        eye = ellipse(cx, 18.4, 3.7, 4.1)
        fill(eye.grow(0.9), col["k"])
        fill(eye, col["w"])
        fill(ellipse(cx + pdx, 18.9, 1.9, 2.3), col["b"])
        fill(circle(cx + pdx - 0.6, 17.9, 0.6), col["w"])
    # Heavy eyebrows, slanted down towards the nose.
    fill(stroke([(5.8, 10.2), (13.8, 12.6)], 2.3), col["k"])
    fill(stroke([(26.2, 10.2), (18.2, 12.6)], 2.3), col["k"])
    # Nose and a wide mouth line.
    fill(stroke([(16, 20), (16.6, 23.2), (15.6, 23.6)], 0.9), col["S"])
    fill(stroke([(9.0, 26.0), (16, 27.0), (23.0, 26.0)], 1.9), col["m"])
    fill(stroke([(8.2, 25.2), (9.2, 26.2)], 1.0), col["m"])
    fill(stroke([(23.8, 25.2), (22.8, 26.2)], 1.0), col["m"])
    # A small heart in the bottom-left corner, with a glint of one 32-pixel.
    heart = circle(3.0, 26.5, 2.0) | circle(6.4, 26.5, 2.0) | polygon([(1.1, 27.2), (8.3, 27.2),
                                                                          (4.7, 31.2)])
    fill(heart.grow(0.8), col["k"])
    fill(heart, col["r"])
    fill(rect(3, 26, 4, 27), col["p"])
    return c


def draw_icon16():
    return from_ascii(ICON16, ICON_COLOURS)


# ---------------------------------------------------------------------------------------------
# Check: 151 x 172, a pink card with a cream rabbit sitting on a peach stool. Many colours, so
# edges inside the card are anti-aliased; the card's own edge stays hard, because the white
# round it turns into the button face.

CARD_PINKS = [(251, 212, 221), (248, 201, 213), (252, 220, 228), (245, 193, 207)]


def card_texture(w, h):
    rnd = random.Random(1998)
    tex = []
    for y in range(h):
        row = []
        for x in range(w):
            # Mostly the base pink, with a sprinkle of lighter and darker grains, a touch darker
            # towards the bottom.
            r = rnd.random() + y / (h * 6.0)
            row.append(CARD_PINKS[0] if r < 0.55 else CARD_PINKS[1] if r < 0.8 else
                       CARD_PINKS[2] if r < 0.93 else CARD_PINKS[3])
        tex.append(row)
    return tex


def outlined(c, shape, fill, line, width):
    c.fill(shape.grow(width), line)
    c.fill(shape, fill)


def draw_check():
    w, h = 151, 172
    c = Canvas(w, h, WHITE, samples=4)
    card = rounded_rect(0, 0, w, h, 14)
    tex = card_texture(w, h)
    hard = Canvas(w, h, WHITE, samples=1)
    hard.fill(card, lambda x, y: tex[y][x])
    c.px = hard.px
    # A soft hand-drawn frame just inside the edge.
    c.fill(rounded_rect(5, 5, w - 5, h - 5, 10).outline(1.3), (236, 166, 186))
    c.fill(rounded_rect(1, 1, w - 1, h - 1, 13).outline(1.0), (238, 178, 196))

    line = (140, 100, 86)
    cream = (255, 247, 224)
    cream_shade = (246, 230, 200)
    ear_pink = (250, 182, 192)
    peach = (252, 196, 152)
    peach_shade = (236, 166, 120)
    wood_line = (176, 112, 80)
    cx = w / 2.0

    # Floor shadow and the stool.
    c.fill(ellipse(cx, 136, 40, 4.5), (236, 170, 188))
    seat = rounded_rect(cx - 32, 104, cx + 32, 113, 3.5)
    legs = rect(cx - 27, 111, cx + 27, 136) - (rect(cx - 15, 124, cx + 15, 140) |
                                                circle(cx, 124, 15))
    outlined(c, legs, peach_shade, wood_line, 1.4)
    c.fill(rect(cx - 27, 111, cx + 27, 114.5), (222, 150, 106))
    outlined(c, seat, peach, wood_line, 1.4)
    c.fill(stroke([(cx - 27, 107.3), (cx + 27, 107.3)], 0.8), (255, 214, 178))
    c.fill(stroke([(cx - 20, 110.2), (cx - 6, 110.2)], 0.7), peach_shade)
    c.fill(stroke([(cx + 4, 110.2), (cx + 22, 110.2)], 0.7), peach_shade)
    c.fill(stroke([(cx - 21, 118), (cx - 21, 132)], 0.7), (222, 150, 106))
    c.fill(stroke([(cx + 21, 118), (cx + 21, 132)], 0.7), (222, 150, 106))

    # Rabbit: ears, tail and body behind the head.
    for ex, ang in ((cx - 11, -7), (cx + 11, 7)):
        ear = ellipse(ex, 34, 7.5, 21, angle=ang)
        outlined(c, ear, cream, line, 1.4)
        c.fill(ellipse(ex, 36, 3.6, 15, angle=ang), ear_pink)
    tail = circle(cx + 27, 97, 6.5)
    outlined(c, tail, cream, line, 1.4)
    c.fill(circle(cx + 28.5, 95.5, 2.5), (255, 252, 240))
    body = ellipse(cx, 86, 25, 20)
    outlined(c, body, cream, line, 1.4)
    c.fill(ellipse(cx, 90, 15, 12), (255, 251, 238))
    # Paws on the tummy and feet on the seat.
    for px in (cx - 10, cx + 10):
        outlined(c, ellipse(px, 83, 5, 4), cream, line, 1.1)
    for fx in (cx - 12, cx + 12):
        outlined(c, ellipse(fx, 103, 7.5, 4.2), cream, line, 1.2)
        c.fill(ellipse(fx, 103.5, 3, 1.6), ear_pink)
    head = ellipse(cx, 62, 21, 17.5)
    outlined(c, head, cream, line, 1.4)
    c.fill(ellipse(cx - 14, 55, 2.5, 5, angle=25), (255, 252, 240))
    # Face: tiny dot eyes, blush, nose and mouth.
    for ex in (cx - 8, cx + 8):
        c.fill(circle(ex, 61, 1.7), BLACK)
        c.fill(ellipse(ex + (-3 if ex < cx else 3), 68, 4, 2.3), (250, 170, 180), alpha=0.8)
    c.fill(ellipse(cx, 65.5, 1.8, 1.3), (226, 120, 130))
    c.fill(stroke(arc(cx - 1.9, 67.2, 1.9, 1.6, 0, 160, 8), 0.8), line)
    c.fill(stroke(arc(cx + 1.9, 67.2, 1.9, 1.6, 20, 180, 8), 0.8), line)
    c.fill(ellipse(cx, 78, 14, 2.5), cream_shade, alpha=0.7)
    return c


# ---------------------------------------------------------------------------------------------
# Congratulation picture: 540 x 342, 16 colours, drawn opaque on white.

CONGRAT_PALETTE = [
    WHITE, BLACK,
    (176, 176, 176),  # blush
    (255, 228, 196),  # skin
    (236, 190, 150),  # skin shade
    (220, 24, 40),  # red cap
    (150, 0, 24),  # mouth, dark red
    (255, 214, 0),  # yellow
    (0, 160, 160),  # teal cap
    (0, 96, 104),  # dark teal
    (48, 36, 72),  # cap band
    (60, 176, 72),  # green
    (48, 96, 224),  # blue
    (255, 140, 0),  # orange
    (255, 128, 168),  # pink, tongue
    (128, 224, 216),  # teal highlight
]
CG = {n: CONGRAT_PALETTE[i] for i, n in enumerate(
    ["white", "black", "blush", "skin", "shade", "red", "darkred", "yellow", "teal", "darkteal",
     "band", "green", "blue", "orange", "pink", "lightteal"])}


def brush_ring(cx, cy, r, base, wobble, phase):
    """A circle's outline whose width swells and thins round it, like a brush line."""
    from imagelib import Shape

    def sdf(x, y):
        a = math.atan2(y - cy, x - cx)
        wdt = base + wobble * math.sin(3 * a + phase) + wobble * 0.5 * math.sin(5 * a - phase)
        return abs(math.hypot(x - cx, y - cy) - r) - wdt / 2

    pad = r + base + wobble * 2
    return Shape(sdf, (cx - pad, cy - pad, cx + pad, cy + pad))


def draw_head(c, cx, cy, size, cap, cap_dark, highlight, flop, phase):
    """One head, drawn in a frame where the head's radius is 92 units and size sets the pixels
    per unit; flop (-1 or 1) sends the cap's tip to the left or right."""
    k = CG["black"]

    def p(x, y):
        return (cx + x * size, cy + y * size)

    def pts(points):
        return [p(x, y) for x, y in points]

    def u(v):
        return v * size

    r = 92
    # Ears behind the head.
    for side in (-1, 1):
        ex, ey = p(side * (r + 4), 8)
        ear = circle(ex, ey, u(27))
        c.fill(ear.grow(u(5)), k)
        c.fill(ear, CG["skin"])
        c.fill(stroke(arc(ex, ey, u(13), u(15), 90 - side * 90 - 70, 90 - side * 90 + 70, 12), u(5),
                      u(3)), CG["shade"])
    head = circle(cx, cy, u(r))
    c.fill(head, CG["skin"])
    c.fill(brush_ring(cx, cy, u(r), u(9), u(3), phase), k)
    # Cap: a soft dome with a floppy tip falling to one side.
    dome = ellipse(*p(0, -44), u(r + 6), u(80)) & rect(*p(-200, -200), *p(200, -56))
    dome = dome | ellipse(*p(flop * 78, -82), u(34), u(26))
    tip = stroke(bezier(*pts([(0, -100), (flop * 55, -165), (flop * 118, -128), (flop * 124, -72)])),
                 u(70), u(24))
    ball = circle(*p(flop * 124, -64), u(15))
    c.fill((dome | tip).grow(u(7)), k)
    c.fill(ball.grow(u(6)), k)
    c.fill(dome | tip, cap)
    c.fill(ball, CG["yellow"])
    c.fill(stroke(bezier(*pts([(-flop * 58, -84), (-flop * 34, -118), (flop * 18, -128)])), u(12),
                  u(5)), highlight)
    c.fill(stroke(bezier(*pts([(flop * 62, -146), (flop * 96, -146), (flop * 110, -106)])), u(8),
                  u(3)), highlight)
    # Band round the brim with a row of small coloured squares.
    band = ellipse(*p(0, -56), u(r + 12), u(17)) | rect(*p(-r - 12, -64), *p(r + 12, -56))
    c.fill(band.grow(u(5)), k)
    c.fill(band, CG["band"])
    colours = [CG["yellow"], CG["green"], CG["pink"], CG["blue"], CG["orange"], CG["white"]]
    for i, dx in enumerate(range(-80, 81, 20)):
        sx, sy = p(dx, -57 + 8 * (1 - (dx / 100.0) ** 2))
        c.fill(rect(sx - u(5), sy - u(5), sx + u(5), sy + u(5)), colours[i % len(colours)])
    # Face: closed happy eyes under thick eyebrows, blush, a small nose and a wide open smile.
    for side in (-1, 1):
        c.fill(stroke(arc(*p(side * 36, 12), u(17), u(14), 200, 340, 16), u(9), u(6)), k)
        c.fill(stroke(pts([(side * 18, -19), (side * 36, -24), (side * 56, -16)]), u(13), u(7)), k)
        c.fill(ellipse(*p(side * 62, 22), u(16), u(10)), CG["blush"])
    c.fill(stroke(arc(*p(0, 12), u(7), u(5), 20, 160, 8), u(5), u(4)), k)
    mouth = ellipse(*p(0, 32), u(44), u(38)) & rect(*p(-60, 32), *p(60, 80))
    c.fill(mouth.grow(u(5)), k)
    c.fill(mouth, CG["darkred"])
    c.fill(ellipse(*p(0, 64), u(24), u(10)) & mouth, CG["pink"])
    # The cord's ends come down from the band and are tied in a bow under the chin.
    by = r + 14
    for side in (-1, 1):
        strand = stroke(bezier(*pts([(side * (r - 4), -48), (side * (r + 4), 50),
                                     (side * 50, r + 6), (side * 6, by)])), u(8))
        c.fill(strand.grow(u(3)), k)
        c.fill(strand, cap_dark)
    for side in (-1, 1):
        loop = ellipse(*p(side * 20, by - 2), u(20), u(10), angle=side * 10)
        c.fill(loop.grow(u(5)), k)
        c.fill(loop, cap)
        c.fill(ellipse(*p(side * 22, by - 2), u(9), u(3.5), angle=side * 10), k)
        end = stroke(pts([(side * 4, by + 4), (side * 12, by + 18), (side * 22, by + 30)]), u(9),
                     u(7))
        c.fill(end.grow(u(4)), k)
        c.fill(end, cap)
    knot = circle(*p(0, by), u(8))
    c.fill(knot.grow(u(4)), k)
    c.fill(knot, cap)


def draw_congrat():
    c = Canvas(540, 342, WHITE)
    draw_head(c, 138, 176, 0.98, CG["red"], CG["darkred"], CG["yellow"], -1, 0.0)
    draw_head(c, 402, 176, 0.98, CG["teal"], CG["darkteal"], CG["lightteal"], 1, 1.7)
    return c


# ---------------------------------------------------------------------------------------------
# Output


def icon_palette():
    pal = list(dict.fromkeys(ICON_COLOURS.values()))
    return pal + [(0, 0, 0)] * (16 - len(pal))


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: draw_pictures.py OUTPUT_DIR\n")
        return 2
    out = argv[1]
    os.makedirs(out, exist_ok=True)

    def path(name):
        return os.path.join(out, name)

    save_bmp(path("open.bmp"), with_palette(draw_open().image(), VGA16))
    for name, draw in (("edit", draw_edit), ("help", draw_help)):
        save_bmp(path(name + ".bmp"), with_key_palette(draw().image(), NEAR_WHITE_KEY))
    save_bmp(path("check.bmp"), with_key_palette(draw_check().image(), WHITE))
    save_bmp(path("congrat.bmp"), with_palette(draw_congrat().image(), CONGRAT_PALETTE))
    icons = []
    for size in ICON_SIZES:
        if size == 256:
            icons.append(draw_icon(size).image())
        elif size in (16, 32):
            icons.append(with_palette((draw_icon16() if size == 16 else draw_icon(32)).image(),
                                      icon_palette()))
        else:
            icons.append(with_own_palette(draw_icon(size).image()))
    save_ico(path("nenga.ico"), icons)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
