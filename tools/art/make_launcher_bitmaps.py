#!/usr/bin/env python3
"""Draws the Launcher's button faces and window icon.

Writes 36 x 36, 4-bit BMPs (up, down and focused face for each of the six
buttons) and a two-image 4-bit launcher.ico into launcher/res.

    python3 tools/art/make_launcher_bitmaps.py [output-folder]
"""

import math
import os
import struct
import sys

# Standard Windows 16-colour palette, in index order (R, G, B).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
(BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER,
 GREY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE) = range(16)

SIZE = 36
DEFAULT_OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)),
                           "..", "..", "launcher", "res")


class Canvas:
    """Palette-index raster; (ox, oy) shifts every drawing call, which is how
    the pressed face nudges its pictogram without redrawing it differently."""

    def __init__(self, w, h, fill=SILVER):
        self.w, self.h = w, h
        self.px = [[fill] * w for _ in range(h)]
        self.ox = self.oy = 0

    def dot(self, x, y, c):
        x, y = x + self.ox, y + self.oy
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def hline(self, x0, x1, y, c):
        for x in range(min(x0, x1), max(x0, x1) + 1):
            self.dot(x, y, c)

    def vline(self, x, y0, y1, c):
        for y in range(min(y0, y1), max(y0, y1) + 1):
            self.dot(x, y, c)

    def line(self, x0, y0, x1, y1, c):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x1 > x0 else -1), (1 if y1 > y0 else -1)
        err = dx + dy
        while True:
            self.dot(x0, y0, c)
            if (x0, y0) == (x1, y1):
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def rect(self, x0, y0, x1, y1, c):
        self.hline(x0, x1, y0, c)
        self.hline(x0, x1, y1, c)
        self.vline(x0, y0, y1, c)
        self.vline(x1, y0, y1, c)

    def fill(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            self.hline(x0, x1, y, c)

    def box(self, x0, y0, x1, y1, c, edge=BLACK):
        self.fill(x0, y0, x1, y1, c)
        self.rect(x0, y0, x1, y1, edge)

    def polygon(self, pts, c, edge=BLACK):
        """Even-odd fill sampled at pixel centres, then the outline on top."""
        ys = [p[1] for p in pts]
        for y in range(min(ys), max(ys) + 1):
            cy = y + 0.5
            xs = []
            for (xa, ya), (xb, yb) in zip(pts, pts[1:] + pts[:1]):
                if (ya <= cy) != (yb <= cy):
                    xs.append(xa + (cy - ya) * (xb - xa) / (yb - ya))
            xs.sort()
            for a, b in zip(xs[::2], xs[1::2]):
                for x in range(math.ceil(a - 0.5), math.floor(b - 0.5) + 1):
                    self.dot(x, y, c)
        if edge is not None:
            for (xa, ya), (xb, yb) in zip(pts, pts[1:] + pts[:1]):
                self.line(xa, ya, xb, yb, edge)

    def ellipse(self, cx, cy, rx, ry, c, edge=BLACK):
        """Centre may sit on a half pixel so even-sized shapes stay symmetric."""
        inside = set()
        for y in range(math.floor(cy - ry), math.ceil(cy + ry) + 1):
            for x in range(math.floor(cx - rx), math.ceil(cx + rx) + 1):
                if ((x - cx) / (rx + 0.5)) ** 2 + ((y - cy) / (ry + 0.5)) ** 2 <= 1:
                    inside.add((x, y))
        for x, y in inside:
            border = any((x + a, y + b) not in inside
                         for a, b in ((1, 0), (-1, 0), (0, 1), (0, -1)))
            self.dot(x, y, edge if border and edge is not None else c)

    def arc(self, cx, cy, r, a0, a1, c, width=1):
        """Degrees counter-clockwise from east, screen y pointing down."""
        steps = max(8, int(abs(a1 - a0) * r / 20))
        for w in range(width):
            for i in range(steps + 1):
                a = math.radians(a0 + (a1 - a0) * i / steps)
                self.dot(round(cx + (r + w) * math.cos(a)),
                         round(cy - (r + w) * math.sin(a)), c)


# --- pictograms: drawn for the up face, inside x/y 4..31 -------------------

def text_lines(cv, x0, x1, y0, y1, c, step=2):
    for y in range(y0, y1 + 1, step):
        cv.hline(x0, x1, y, c)


def draw_faxprint(cv):
    # Sheet first so the machine's slot covers its lower edge.
    cv.box(11, 4, 24, 16, WHITE)
    text_lines(cv, 13, 22, 6, 12, BLUE)
    cv.hline(13, 18, 14, BLUE)
    cv.polygon([(5, 18), (30, 18), (30, 29), (5, 29)], GREY)
    cv.fill(6, 19, 29, 19, SILVER)
    cv.box(9, 16, 26, 18, BLACK)
    # Handset lying on the left of the body.
    cv.box(6, 20, 11, 28, BLACK)
    cv.fill(7, 21, 10, 21, GREY)
    cv.fill(7, 27, 10, 27, GREY)
    # Keypad.
    for row in range(3):
        for col in range(3):
            x, y = 14 + col * 3, 21 + row * 3
            cv.fill(x, y, x + 1, y + 1, WHITE)
    cv.box(24, 21, 28, 23, LIME)
    cv.fill(24, 26, 28, 27, BLACK)


def draw_logbook(cv):
    # Upright ledger with a red ribbon and a label on the cover.
    cv.box(6, 4, 22, 30, NAVY)
    cv.fill(7, 5, 8, 29, BLUE)
    cv.vline(9, 5, 29, BLACK)
    cv.box(22, 5, 24, 29, WHITE)
    cv.box(12, 8, 20, 14, WHITE)
    cv.hline(14, 18, 10, BLACK)
    cv.hline(14, 18, 12, BLACK)
    text_lines(cv, 12, 20, 18, 26, AQUA, step=4)
    # Outgoing arrow over the bottom right corner.
    cv.polygon([(15, 20), (24, 20), (24, 16), (31, 23), (24, 30), (24, 26), (15, 26)], RED)


def draw_autorecv(cv):
    # Lattice mast with the waves converging on its tip.
    cv.polygon([(18, 12), (24, 30), (12, 30)], SILVER)
    cv.line(18, 12, 22, 24, BLACK)
    cv.line(14, 24, 20, 18, BLACK)
    cv.line(16, 18, 23, 27, BLACK)
    cv.line(13, 27, 22, 24, BLACK)
    cv.hline(14, 22, 24, BLACK)
    cv.hline(10, 26, 30, BLACK)
    cv.ellipse(18, 10, 2, 2, RED)
    for r in (5, 9, 13):
        cv.arc(18, 10, r, 140, 220, BLUE, width=2)
        cv.arc(18, 10, r, -40, 40, BLUE, width=2)


def draw_scaner(cv):
    # Flatbed seen from the front-left, lid raised to show the lit glass.
    cv.polygon([(9, 6), (29, 6), (29, 17), (9, 17)], GREY)
    cv.fill(10, 7, 28, 8, SILVER)
    cv.polygon([(8, 17), (30, 17), (26, 22), (4, 22)], AQUA)
    cv.line(9, 19, 27, 19, LIME)
    cv.line(8, 20, 26, 20, LIME)
    cv.polygon([(4, 22), (26, 22), (26, 29), (4, 29)], SILVER)
    cv.polygon([(26, 22), (30, 17), (30, 24), (26, 29)], GREY)
    cv.hline(6, 14, 26, BLACK)
    cv.box(21, 24, 24, 26, LIME)


def draw_viewfax(cv):
    # Received page with a dog-ear, an eye resting on its lower half.
    cv.polygon([(6, 4), (19, 4), (24, 9), (24, 28), (6, 28)], WHITE)
    cv.polygon([(19, 4), (24, 9), (19, 9)], SILVER)
    text_lines(cv, 9, 17, 7, 11, BLACK)
    text_lines(cv, 9, 21, 13, 17, BLACK)
    cv.ellipse(21.5, 23.5, 9, 5, WHITE)
    cv.ellipse(21.5, 23.5, 3.5, 3.5, BLUE)
    cv.fill(21, 23, 22, 24, BLACK)
    cv.dot(20, 22, WHITE)


def draw_phonebook(cv):
    # Index tabs stand out on the right; rings on the left; a handset on the cover.
    for y, c in ((6, RED), (12, YELLOW), (18, LIME), (24, BLUE)):
        cv.box(24, y, 29, y + 4, c)
    cv.box(7, 4, 25, 30, MAROON)
    cv.fill(8, 5, 24, 5, RED)
    for y in range(7, 29, 4):
        cv.hline(5, 9, y, BLACK)
        cv.dot(10, y, GREY)
    cv.polygon([(12, 14), (15, 11), (22, 11), (25, 14), (25, 16), (21, 16),
                (21, 14), (16, 14), (16, 16), (12, 16)], BLACK, edge=None)
    cv.polygon([(14, 18), (23, 18), (24, 25), (13, 25)], WHITE)
    for y in (20, 22):
        for x in (16, 18, 20):
            cv.dot(x, y, BLACK)
    cv.fill(18, 17, 19, 18, BLACK)


BUTTONS = [
    ("FAXPRINT", draw_faxprint),
    ("LOGBOOK", draw_logbook),
    ("AUTORECV", draw_autorecv),
    ("SCANER", draw_scaner),
    ("VIEWFAX", draw_viewfax),
    ("PHONEBOOK", draw_phonebook),
]


# --- button faces -----------------------------------------------------------

def bevel(cv, raised):
    """Classic two-pixel push-button edge; the pressed face swaps the lights."""
    n = cv.w - 1
    outer_tl, outer_br = (WHITE, BLACK) if raised else (BLACK, WHITE)
    inner_tl, inner_br = (SILVER, GREY) if raised else (GREY, SILVER)
    cv.hline(0, n, 0, outer_tl)
    cv.vline(0, 0, n, outer_tl)
    cv.hline(0, n, n, outer_br)
    cv.vline(n, 0, n, outer_br)
    cv.hline(1, n - 1, 1, inner_tl)
    cv.vline(1, 1, n - 1, inner_tl)
    cv.hline(1, n - 1, n - 1, inner_br)
    cv.vline(n - 1, 1, n - 1, inner_br)


def focus_rect(cv, inset=3):
    n = cv.w - 1 - inset
    for i in range(inset, n + 1, 2):
        for x, y in ((i, inset), (i, n), (inset, i), (n, i)):
            cv.dot(x, y, BLACK)


def button_face(draw, state):
    cv = Canvas(SIZE, SIZE)
    if state == "D":
        cv.ox = cv.oy = 1
    draw(cv)
    cv.ox = cv.oy = 0
    bevel(cv, raised=state != "D")
    if state == "F":
        focus_rect(cv)
    return cv


# --- file formats -------------------------------------------------------------

def palette_bytes():
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)


def pack_4bit(cv):
    stride = (cv.w * 4 + 31) // 32 * 4
    rows = []
    for row in reversed(cv.px):
        line = bytes((row[x] << 4) | (row[x + 1] if x + 1 < cv.w else 0)
                     for x in range(0, cv.w, 2))
        rows.append(line.ljust(stride, b"\0"))
    return b"".join(rows)


def pack_mask(opaque):
    w = len(opaque[0])
    stride = (w + 31) // 32 * 4
    rows = []
    for row in reversed(opaque):
        bits = bytearray(stride)
        for x, solid in enumerate(row):
            if not solid:
                bits[x // 8] |= 0x80 >> (x % 8)
        rows.append(bytes(bits))
    return b"".join(rows)


def info_header(w, h, image_size):
    return struct.pack("<IiiHHIIiiII", 40, w, h, 1, 4, 0, image_size, 0, 0, 16, 0)


def bmp_bytes(cv):
    bits = pack_4bit(cv)
    offset = 14 + 40 + 64
    return (struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
            + info_header(cv.w, cv.h, len(bits)) + palette_bytes() + bits)


def icon_image(n):
    """The menu window in miniature: a raised panel holding two rows of three
    coloured buttons, as the dialog lays them out. Corners left transparent."""
    cv = Canvas(n, n, fill=BLACK)
    m = n - 1
    cv.box(0, 1, m, m - 1, SILVER)
    cv.hline(1, m - 1, 2, WHITE)
    cv.vline(1, 2, m - 2, WHITE)
    colours = [RED, BLUE, LIME, YELLOW, AQUA, FUCHSIA]
    if n >= 32:
        tile, gap, x0, y0 = 7, 3, 3, 7
    else:
        tile, gap, x0, y0 = 3, 1, 2, 4
    for i, c in enumerate(colours):
        x = x0 + (i % 3) * (tile + gap)
        y = y0 + (i // 3) * (tile + gap)
        cv.box(x, y, x + tile, y + tile, c)
    opaque = [[1 <= y <= m - 1 for _ in range(n)] for y in range(n)]
    return cv, opaque


def ico_bytes(images):
    entries, blobs = [], []
    offset = 6 + 16 * len(images)
    for cv, opaque in images:
        xor, mask = pack_4bit(cv), pack_mask(opaque)
        blob = info_header(cv.w, 2 * cv.h, len(xor) + len(mask)) + palette_bytes() + xor + mask
        entries.append(struct.pack("<BBBBHHII", cv.w, cv.h, 16, 0, 1, 4, len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    return struct.pack("<HHH", 0, 1, len(images)) + b"".join(entries) + b"".join(blobs)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else DEFAULT_OUT
    os.makedirs(out, exist_ok=True)
    for name, draw in BUTTONS:
        for state in "UDF":
            with open(os.path.join(out, f"{name}{state}.bmp"), "wb") as f:
                f.write(bmp_bytes(button_face(draw, state)))
    with open(os.path.join(out, "launcher.ico"), "wb") as f:
        f.write(ico_bytes([icon_image(32), icon_image(16)]))


if __name__ == "__main__":
    main()
