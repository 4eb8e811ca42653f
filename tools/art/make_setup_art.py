#!/usr/bin/env python3
"""Draws the installer's splash picture and icon.

Writes into setup/res: OPENING.BMP (480 x 300, 8-bit) and setup.ico (32 x 32
and 16 x 16, 4-bit). The splash is drawn four times oversize in RGB, averaged
down and cut to 256 colours by ImageMagick's convert; its text is set in
Nimbus Sans (fonts-urw-base35) and WenQuanYi Micro Hei (fonts-wqy-microhei).

    python3 tools/art/make_setup_art.py [output-folder]
"""

import glob
import math
import os
import subprocess
import sys

from bmp16 import (AQUA, BLACK, BLUE, GREY, NAVY, SILVER, TEAL, WHITE, Canvas, bmp8_bytes,
                   ico_bytes, masked)
from make_contacts_bitmaps import font_file, read_pgm
from make_viewer_bitmaps import sprite

DEFAULT_OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)),
                           "..", "..", "setup", "res")
W, H = 480, 300
S = 4  # samples per pixel along each axis; their average smooths every edge


def mix(a, b, t):
    return tuple(round(p + (q - p) * t) for p, q in zip(a, b))


def vgrad(y0, y1, top, bottom):
    def paint(_, x, y):
        return mix(top, bottom, min(1, max(0, (y - y0) / (y1 - y0))))
    return paint


def tint(colour, amount):
    def paint(under, x, y):
        return mix(under, colour, amount)
    return paint


def rising_fade(colour, amount):
    """Tint that fades out between y 220 and 160, so that what it paints ends
    short of the subtitle."""
    def paint(under, x, y):
        return mix(under, colour, amount * min(1, max(0, (y - 160) / 60)))
    return paint


class Picture(Canvas):
    """RGB canvas S times oversize, drawn on in picture pixels. A colour may
    be a function of what lies underneath and where, for gradients and shade;
    it sees the place before the (ox, oy) shift, so a shifted shape keeps its
    shading."""

    def __init__(self):
        super().__init__(W * S, H * S, fill=(0, 0, 0))

    def dot(self, x, y, c):
        px, py = x + self.ox, y + self.oy
        if 0 <= px < self.w and 0 <= py < self.h:
            row = self.px[py]
            row[px] = c if type(c) is tuple else c(row[px], x / S, y / S)

    def shape(self, pts, c):
        self.polygon([(round(x * S), round(y * S)) for x, y in pts], c, edge=None)

    def oval(self, cx, cy, rx, ry, c):
        self.ellipse(cx * S, cy * S, rx * S - 0.5, ry * S - 0.5, c, edge=None)

    def stroke(self, pts, width, c):
        """Square-ended segments; joints overlap, so only for opaque colours."""
        for (xa, ya), (xb, yb) in zip(pts, pts[1:]):
            d = math.hypot(xb - xa, yb - ya)
            nx, ny = (ya - yb) / d * width / 2, (xb - xa) / d * width / 2
            self.shape([(xa + nx, ya + ny), (xb + nx, yb + ny),
                        (xb - nx, yb - ny), (xa - nx, ya - ny)], c)

    def write(self, text, x, y, c):
        for dx, dy in text.ink:
            self.dot(round(x * S) + dx, round(y * S) + dy, c)


class Text:
    """The samples a string inks, oversize, cropped to its inked box."""

    def __init__(self, text, font, size, spacing=0):
        pgm = subprocess.run(
            ["convert", "-background", "black", "-fill", "white", "-font", font,
             "-pointsize", str(size * S), "-kerning", str(spacing * S),
             "label:" + text, "-depth", "8", "pgm:-"],
            check=True, capture_output=True).stdout
        on = [(x, y) for y, row in enumerate(read_pgm(pgm)) for x, v in enumerate(row) if v >= 128]
        left, top = min(x for x, _ in on), min(y for _, y in on)
        self.ink = [(x - left, y - top) for x, y in on]
        self.w = (max(x for x, _ in self.ink) + 1) / S
        self.h = (max(y for _, y in self.ink) + 1) / S


def latin_font():
    found = glob.glob("/usr/share/fonts/**/NimbusSans-Bold.otf", recursive=True)
    if not found:
        sys.exit("Nimbus Sans Bold not found under /usr/share/fonts (fonts-urw-base35)")
    return found[0]


# --- geometry ---------------------------------------------------------------

def lerp(p, q, t):
    return (p[0] + (q[0] - p[0]) * t, p[1] + (q[1] - p[1]) * t)


def soften(pts, radii):
    """Each corner cut by a quadratic curve reaching radius along both edges."""
    out = []
    for i, (p, r) in enumerate(zip(pts, radii)):
        if not r:
            out.append(p)
            continue
        a, b = pts[i - 1], pts[(i + 1) % len(pts)]
        p0 = lerp(p, a, min(0.5, r / math.dist(p, a)))
        p1 = lerp(p, b, min(0.5, r / math.dist(p, b)))
        for k in range(7):
            t = k / 6
            out.append(lerp(lerp(p0, p, t), lerp(p, p1, t), t))
    return out


def ring_part(cx, cy, r0, r1, a0, a1):
    """Band between two radii from angle a0 to a1, degrees anticlockwise from east."""
    steps = [a0 + (a1 - a0) * i / 48 for i in range(49)]
    return ([(cx + r1 * math.cos(math.radians(a)), cy - r1 * math.sin(math.radians(a))) for a in steps]
            + [(cx + r0 * math.cos(math.radians(a)), cy - r0 * math.sin(math.radians(a)))
               for a in steps[::-1]])


def rounded(x0, y0, x1, y1, r):
    return soften([(x0, y0), (x1, y0), (x1, y1), (x0, y1)], [r] * 4)


# The machine's top face: front left, front right, back right, back left.
TOP = [(250, 190), (456, 190), (436, 122), (270, 122)]
FRONT_Y = 238


def on_top(u, v):
    """Point of the top face, u across from the left, v back from the front."""
    fl, fr, br, bl = TOP
    return lerp(lerp(fl, fr, u), lerp(bl, br, u), v)


def top_quad(u0, v0, u1, v1):
    return [on_top(u0, v0), on_top(u1, v0), on_top(u1, v1), on_top(u0, v1)]


# --- the splash -------------------------------------------------------------

NIGHT = (12, 34, 68)
DUSK = (40, 86, 140)
GLOW = (92, 138, 190)
SHADE = (6, 16, 32)
PAPER = (252, 253, 255)
PRINT = (120, 134, 154)


def backdrop(_, x, y):
    c = mix(NIGHT, DUSK, 0.75 * y / H + 0.25 * x / W)
    glow = max(0.0, 1 - math.hypot(x - 352, (y - 170) * 1.4) / 220)
    return mix(c, GLOW, 0.45 * glow * glow)


def key(cv, quad, face, side):
    """Key cap standing out of the panel: its front side shows under the face."""
    cap = soften(quad, [1.5] * 4)
    cv.shape([(x, y + 2) for x, y in cap], side)
    cv.shape(cap, face)


def draw_tray(cv):
    """Document feeder at the back: a tinted guide plate and a sheet on it,
    both going down into the slot."""
    (lx, y), (rx, _) = on_top(0.40, 0.895), on_top(0.90, 0.895)
    cv.shape([(lx - 2, y), (rx + 2, y), (rx - 4, 84), (lx + 4, 84)],
             vgrad(84, 140, (122, 142, 168), (88, 104, 128)))
    cv.shape([(lx + 6, y), (rx - 6, y), (rx - 12, 64), (lx + 12, 64)],
             vgrad(64, 136, PAPER, (214, 222, 232)))
    left, right = lx + 20, rx - 22
    for i, y in enumerate(range(72, 110, 5)):
        end = right - (14, 0, 6, 20, 2, 9, 30, 4)[i] - (y - 72) * 0.1
        cv.stroke([(left + (y - 72) * 0.1, y), (end, y)], 1.6, PRINT)


def draw_body(cv):
    fl, fr, br, _ = TOP
    for i in range(6):
        cv.oval(353, FRONT_Y + 2, 116 - 3 * i, 12 - i, tint(SHADE, 0.12))
    cv.shape(soften([fl, fr, (fr[0], FRONT_Y), (fl[0], FRONT_Y)], [0, 0, 8, 8]),
             vgrad(fl[1], FRONT_Y, (178, 189, 204), (128, 142, 162)))
    cv.shape(soften(TOP, [0, 0, 9, 9]), vgrad(br[1], fl[1], (226, 231, 238), (205, 213, 224)))
    # A light rim where top and front meet reads as a rounded edge.
    cv.shape([fl, fr, on_top(0.999, 0.05), on_top(0.001, 0.05)], (238, 242, 247))
    cv.stroke([(fl[0] + 1, fl[1] + 1), (fr[0] - 1, fr[1] + 1)], 1, (150, 162, 180))
    cv.shape(top_quad(0.38, 0.87, 0.92, 0.92), (60, 70, 86))


def draw_front(cv):
    # Output slot with a received page hanging from it over the front edge.
    cv.shape(rounded(304, 198, 416, 203, 2), (52, 62, 78))
    cv.shape([(308, 200), (412, 200), (418, 254), (302, 254)], vgrad(200, 254, PAPER, (226, 232, 240)))
    cv.shape([(302, 250), (418, 250), (418, 254), (302, 254)], (196, 206, 220))
    for y, end in ((208, 370), (214, 398), (220, 386), (226, 400), (232, 350), (238, 392), (244, 380)):
        t = (y - 200) / 54
        cv.stroke([(314 - 6 * t, y), (end + 8 + 6 * t * (end - 354) / 54, y)], 1.6, PRINT)
    # Speaker grille on the right of the front.
    for x in range(428, 448, 4):
        cv.stroke([(x, 210), (x, 226)], 1.8, (92, 104, 122))
    cv.write(Text("ORVEX", latin_font(), 9, spacing=1.5), 260, 210, (84, 96, 114))


def handset_outline(front, back, grow=0):
    """Mouthpiece at the front, earpiece at the back, a narrower grip
    between; the long axis runs almost straight up the picture."""
    profile = [(0, 14), (0.26, 14), (0.38, 10), (0.62, 10), (0.74, 13), (1, 13)]
    axis = [(lerp(front, back, t), w + grow) for t, w in profile]
    right = [(x + w, y) for (x, y), w in axis]
    left = [(x - w, y) for (x, y), w in axis[::-1]]
    pts = [(front[0], front[1] + 3 + grow)] + right + [(back[0], back[1] - 3 - grow)] + left
    return soften(pts, [0, 5, 3, 5, 5, 3, 5, 0, 5, 3, 5, 5, 3, 5])


HANDSET_FRONT, HANDSET_BACK = on_top(0.145, 0.19), on_top(0.15, 0.84)
LIFT = 5


def draw_handset(cv):
    """Lying in its cradle: the dark sides swept up LIFT pixels, the lit top
    face on them, and a shine along the spine."""
    front, back = HANDSET_FRONT, HANDSET_BACK
    cv.shape(handset_outline(front, back, grow=4), (182, 192, 206))
    cv.shape(handset_outline((front[0] + 2, front[1] + 1), (back[0] + 2, back[1] + 1), grow=1),
             tint(SHADE, 0.3))
    for k in range(LIFT * S):
        d = k / S
        cv.shape(handset_outline((front[0], front[1] - d), (back[0], back[1] - d)), (36, 44, 56))
    top = [(front[0], front[1] - LIFT - 1), (back[0], back[1] - LIFT - 1)]
    cv.shape(handset_outline(*top, grow=-1), vgrad(back[1] - 20, front[1], (112, 126, 146), (58, 70, 86)))
    cv.stroke([lerp(*top, 0.08), lerp(*top, 0.92)], 2, (140, 154, 174))


def draw_cord(cv):
    """Coiled cord from the mouthpiece over the machine's left edge, its
    coils opening out as it leaves the handset."""
    start = (HANDSET_FRONT[0] - 12, HANDSET_FRONT[1] - 1)
    bend, end = (236, 190), (238, 242)
    pts = []
    for i in range(201):
        t = i / 200
        x, y = lerp(lerp(start, bend, t), lerp(bend, end, t), t)
        a, r = t * 2 * math.pi * 11, 4 * min(1, t * 5)
        pts.append((x + r * math.cos(a), y + 0.55 * r * math.sin(a)))
    cv.stroke(pts, 1.6, (36, 44, 56))


def draw_panel(cv):
    cv.shape(soften(top_quad(0.34, 0.54, 0.70, 0.80), [3] * 4), (50, 60, 76))
    cv.shape(top_quad(0.36, 0.58, 0.68, 0.76),
             vgrad(on_top(0, 0.76)[1], on_top(0, 0.58)[1], (196, 222, 222), (164, 198, 200)))
    x, y = on_top(0.40, 0.72)
    cv.write(Text("12:30  FINE", latin_font(), 7, spacing=0.5), x + 2, y, (36, 64, 72))
    for v in (0.06, 0.17, 0.28, 0.39):
        for u in (0.38, 0.465, 0.55):
            key(cv, top_quad(u, v, u + 0.07, v + 0.08), (246, 248, 251), (132, 144, 162))
    key(cv, top_quad(0.72, 0.06, 0.94, 0.26), (58, 120, 200), (28, 66, 122))
    key(cv, top_quad(0.72, 0.34, 0.94, 0.46), (214, 220, 230), (120, 132, 150))
    for u in (0.72, 0.84):
        key(cv, top_quad(u, 0.54, u + 0.10, 0.66), (214, 220, 230), (120, 132, 150))
    cv.oval(*on_top(0.76, 0.75), 2, 1.5, (96, 210, 170))


def draw_title(cv):
    title = Text("LUMENPOST", latin_font(), 46, spacing=3)
    cv.write(title, 32, 42, tint(SHADE, 0.5))
    cv.write(title, 30, 40, (255, 255, 255))
    cv.stroke([(31, 102), (31 + title.w * 0.55, 102)], 2.5, (104, 178, 236))
    cv.write(Text("KDM-540 传真与扫描", font_file(), 21), 31, 114, (196, 214, 236))


def draw_footer(cv):
    cv.shape([(0, 272), (W, 272), (W, H), (0, H)], vgrad(272, H, (10, 28, 56), (6, 18, 38)))
    cv.shape([(0, 272), (W, 272), (W, 273), (0, 273)], (58, 104, 160))
    cv.write(Text("Orvex", latin_font(), 13, spacing=1), 30, 281, (150, 172, 202))
    setup = Text("安装程序", font_file(), 13)
    cv.write(setup, W - 30 - setup.w, 280, (150, 172, 202))


def splash():
    cv = Picture()
    cv.fill(0, 0, cv.w - 1, cv.h - 1, backdrop)
    # Faint rings spreading from the machine, as its signal would.
    for i, r in enumerate((150, 185, 220)):
        cv.shape(ring_part(355, 196, r, r + 2.5, 165, 250), rising_fade(GLOW, 0.36 - 0.08 * i))
    draw_title(cv)
    draw_footer(cv)
    cv.oy = 8 * S
    draw_body(cv)
    draw_tray(cv)
    draw_cord(cv)
    draw_handset(cv)
    draw_panel(cv)
    draw_front(cv)
    cv.oy = 0
    return cv


def reduce(cv):
    """Averages each S x S block to one pixel, then has convert choose the 256
    colours; without dithering flat faces stay flat. Returns index rows and
    the palette."""
    n = S * S
    out = bytearray()
    for oy in range(H):
        band = cv.px[oy * S:(oy + 1) * S]
        for ox in range(W):
            r = g = b = 0
            for row in band:
                for p in row[ox * S:(ox + 1) * S]:
                    r += p[0]
                    g += p[1]
                    b += p[2]
            out += bytes(((r + n // 2) // n, (g + n // 2) // n, (b + n // 2) // n))
    ppm = b"P6\n%d %d\n255\n" % (W, H) + bytes(out)
    cut = subprocess.run(["convert", "ppm:-", "-dither", "None", "-colors", "256", "ppm:-"],
                         input=ppm, check=True, capture_output=True).stdout[-W * H * 3:]
    colours = [tuple(cut[i:i + 3]) for i in range(0, len(cut), 3)]
    palette = sorted(set(colours))
    index = {c: i for i, c in enumerate(palette)}
    return [[index[c] for c in colours[y * W:(y + 1) * W]] for y in range(H)], palette


# --- icon -------------------------------------------------------------------

HANDSET_32 = [
    ".KKKKK.",
    "KNNNNNK",
    "KNBNNNK",
    ".KNBNK.",
    ".KNBNK.",
    "KNBNNNK",
    "KNNNNNK",
    ".KKKKK.",
]

FAX_16 = [
    "....KKKKKKKK....",
    "....KWWWWWWK....",
    "...GKWGGGGWKG...",
    "...GKWWWWWWKG...",
    "..KKKKKKKKKKKK..",
    ".KNNNKTTTTTSSSK.",
    ".KSNSSSSSSSSSSK.",
    "KSSNSWSWSWSBBSSK",
    "KSNNNSSSSSSSSSSK",
    "KWWWWWWWWWWWWWWK",
    "KGGGKKKKKKKKGGGK",
    "KGGGKWWWWWWKGKGK",
    "KGGGKWGGGGWKGKGK",
    ".KKKKWWWWWWKKKK.",
    "....KWGGGWWK....",
    "....KKKKKKKK....",
]


def icon_image(n):
    """The splash's machine in the Windows colours: a page standing in the
    feeder, the handset on the left, display, keys and the blue start key,
    a received page hanging from the front."""
    cv = Canvas(n, n, fill=None)
    if n >= 32:
        cv.box(11, 3, 26, 11, GREY)
        cv.box(13, 0, 24, 11, WHITE)
        for y, end in ((2, 20), (4, 22), (6, 19), (8, 21)):
            cv.hline(15, end, y, GREY)
        cv.polygon([(3, 11), (28, 11), (31, 20), (0, 20)], SILVER)
        sprite(cv, 3, 12, HANDSET_32)
        cv.box(12, 12, 21, 14, TEAL)
        cv.dot(23, 13, AQUA)
        for y in (16, 18):
            for x in (12, 15, 18):
                cv.hline(x, x + 1, y, WHITE)
        cv.hline(23, 24, 15, WHITE)
        cv.hline(26, 27, 15, WHITE)
        cv.box(23, 17, 28, 19, BLUE, edge=NAVY)
        cv.box(0, 20, 31, 28, GREY)
        cv.hline(1, 30, 21, SILVER)
        cv.dot(0, 28, None)
        cv.dot(31, 28, None)
        for x in (25, 27, 29):
            cv.vline(x, 23, 26, BLACK)
        cv.hline(9, 22, 23, BLACK)
        cv.box(10, 24, 21, 31, WHITE)
        for y, end in ((26, 18), (28, 19)):
            cv.hline(12, end, y, GREY)
    else:
        sprite(cv, 0, 0, FAX_16)
    return masked(cv)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else DEFAULT_OUT
    os.makedirs(out, exist_ok=True)
    with open(os.path.join(out, "OPENING.BMP"), "wb") as f:
        f.write(bmp8_bytes(*reduce(splash())))
    with open(os.path.join(out, "setup.ico"), "wb") as f:
        f.write(ico_bytes([icon_image(32), icon_image(16)]))


if __name__ == "__main__":
    main()
