#!/usr/bin/env python3
"""Draws the address book's button faces, field labels and window icon.

Writes 4-bit BMPs (up, down and focused face of the add, delete and clear
buttons; the four edit-box labels) and a two-image 4-bit contacts.ico into
contacts/res. The Chinese text is rendered by ImageMagick's convert in
WenQuanYi Micro Hei (fonts-wqy-microhei).

    python3 tools/art/make_contacts_bitmaps.py [output-folder]
"""

import glob
import os
import subprocess
import sys

from bmp16 import (AQUA, BLACK, BLUE, GREEN, GREY, LIME, MAROON, NAVY, RED, SILVER,
                   WHITE, YELLOW, Canvas, bmp_bytes, button_face, ico_bytes, masked)

DEFAULT_OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)),
                           "..", "..", "contacts", "res")
TEXT_PX = 12


def font_file():
    found = glob.glob("/usr/share/fonts/**/wqy-microhei.tt[cf]", recursive=True)
    if not found:
        sys.exit("WenQuanYi Micro Hei not found under /usr/share/fonts (fonts-wqy-microhei)")
    return found[0]


def read_pgm(data):
    magic, w, h, maxval = data.split(maxsplit=4)[:4]
    assert magic == b"P5" and int(maxval) < 256
    pixels = data[len(data) - int(w) * int(h):]
    return [pixels[y * int(w):(y + 1) * int(w)] for y in range(int(h))]


class Text:
    """Ink of one string, cropped to its inked box. Rendered with FreeType's
    monochrome hinting: at 12 px the antialiased glyphs, once thresholded,
    lose strokes of 删 and 添 that the hinted outlines keep."""

    def __init__(self, text, font):
        pgm = subprocess.run(
            ["convert", "-background", "white", "-fill", "black", "-font", font,
             "-pointsize", str(TEXT_PX), "+antialias", "label:" + text, "-depth", "8", "pgm:-"],
            check=True, capture_output=True).stdout
        ink = [[v < 128 for v in row] for row in read_pgm(pgm)]
        rows = [y for y, row in enumerate(ink) if any(row)]
        cols = [x for x in range(len(ink[0])) if any(row[x] for row in ink)]
        self.ink = [row[cols[0]:cols[-1] + 1] for row in ink[rows[0]:rows[-1] + 1]]
        self.w, self.h = len(self.ink[0]), len(self.ink)

    def draw(self, cv, x0, y0, c=BLACK):
        for y, row in enumerate(self.ink):
            for x, on in enumerate(row):
                if on:
                    cv.dot(x0 + x, y0 + y, c)


# --- pictograms, each drawn with its top left corner at (x, y) --------------

RING8 = [(dx, dy) for dx in (-1, 0, 1) for dy in (-1, 0, 1)]
RING4 = [(-1, 0), (1, 0), (0, -1), (0, 1)]


def outlined(cv, cells, c, edge, ring):
    """Fills the pixel set and rings it so a small sign stays apart from
    whatever it overlaps; a diagonal shape takes RING4, as RING8 would fill
    the notches between its strokes."""
    for x, y in cells:
        for dx, dy in ring:
            if (x + dx, y + dy) not in cells:
                cv.dot(x + dx, y + dy, edge)
    for x, y in cells:
        cv.dot(x, y, c)


CARD_W, CARD_H = 19, 11


def draw_card(cv, x, y):
    """Address card: a person on the left, the entry's lines on the right."""
    cv.box(x, y, x + 13, y + 8, WHITE)
    cv.fill(x + 3, y + 2, x + 4, y + 3, NAVY)
    cv.fill(x + 2, y + 5, x + 5, y + 6, NAVY)
    for ly in (y + 2, y + 4, y + 6):
        cv.hline(x + 7, x + 11, ly, GREY)


def draw_add(cv, x, y):
    draw_card(cv, x, y)
    px, py = x + 11, y + 3
    cells = {(px + i, py + j) for i in range(7) for j in range(2, 5)}
    cells |= {(px + i, py + j) for i in range(2, 5) for j in range(7)}
    outlined(cv, cells, LIME, GREEN, RING8)


def draw_delete(cv, x, y):
    draw_card(cv, x, y)
    # Two-pixel strokes on an 8 x 7 grid keep the cross symmetric both ways.
    px, py = x + 10, y + 3
    cells = {(px + dx, py + i) for i in range(7) for dx in (i, i + 1, 6 - i, 7 - i)}
    outlined(cv, cells, RED, MAROON, RING4)


ERASER_W, ERASER_H = 33, 26


def draw_eraser(cv, x, y):
    """A card being rubbed clean: the eraser lies across it at 45 degrees,
    its path behind it already blank."""
    cv.box(x, y + 6, x + 26, y + 25, WHITE)
    for ly, end in ((y + 10, x + 14), (y + 14, x + 10), (y + 18, x + 7), (y + 22, x + 5)):
        cv.hline(x + 3, end, ly, BLACK)
    # Red rubber at the card end, blue body above; the same shape dropped
    # two pixels in the darker shades gives the block its thickness.
    a, b = (x + 10, y + 17), (x + 15, y + 22)
    c, d = (b[0] + 7, b[1] - 7), (a[0] + 7, a[1] - 7)
    e, f = (c[0] + 10, c[1] - 10), (d[0] + 10, d[1] - 10)
    for drop, rubber, body, edge in ((2, MAROON, NAVY, None), (0, RED, BLUE, BLACK)):
        cv.oy += drop
        cv.polygon([a, b, c, d], rubber, edge)
        cv.polygon([d, c, e, f], body, edge)
        cv.oy -= drop
    cv.line(d[0] + 1, d[1], f[0], f[1] + 1, AQUA)
    for dx, dy in ((8, 23), (6, 20), (11, 24), (4, 24)):
        cv.dot(x + dx, y + dy, GREY)


# --- faces ------------------------------------------------------------------

def wide_face(picture, pic_w, pic_h, text):
    """Pictogram and word side by side, centred as one group."""
    def draw(cv):
        gap = 6
        left = (cv.w - (pic_w + gap + text.w)) // 2
        picture(cv, left, (cv.h - pic_h) // 2)
        text.draw(cv, left + pic_w + gap, (cv.h - text.h) // 2)
    return draw


def tall_face(picture, pic_w, pic_h, chars):
    """Pictogram above the word's characters stacked top to bottom."""
    def draw(cv):
        gap, lead = 10, 3
        block = pic_h + gap + sum(t.h for t in chars) + lead * (len(chars) - 1)
        y = (cv.h - block) // 2
        picture(cv, (cv.w - pic_w) // 2, y)
        y += pic_h + gap
        for t in chars:
            t.draw(cv, (cv.w - t.w) // 2, y)
            y += t.h + lead
    return draw


def label(text, w=58, h=19, right_margin=2):
    """Flat on the dialog face, set against the edit box on its right."""
    cv = Canvas(w, h)
    text.draw(cv, w - right_margin - text.w, (h - text.h) // 2)
    return cv


# --- icon -------------------------------------------------------------------

def stand(cv, x0, x1, y0, y1, face):
    """Base widening by a pixel a row under the cards, its lowest row black."""
    for y in range(y0, y1):
        grow = y - y0
        cv.hline(x0 - grow, x1 + grow, y, face)
        cv.dot(x0 - grow, y, BLACK)
        cv.dot(x1 + grow, y, BLACK)
    cv.hline(x0 - grow, x1 + grow, y1, BLACK)


BUST = [
    "..NNNN..",
    ".NBBBBN.",
    ".NBBBBN.",
    ".NBBBBN.",
    ".NBBBBN.",
    "..NNNN..",
    "........",
    "..NNNN..",
    ".NBBBBN.",
    "NBBBBBBN",
    "NBBBBBBN",
    "NNNNNNNN",
]


def icon_image(n):
    """A rotary card file on its stand; around it stays transparent."""
    cv = Canvas(n, n, fill=None)
    if n >= 32:
        stand(cv, 5, 26, 26, 30, GREY)
        cv.hline(3, 28, 29, SILVER)
        for kx in (3.5, 27.5):
            cv.ellipse(kx, 18.5, 2.5, 3.5, GREY)
        # Cards behind, each showing a coloured tab at a different place.
        for top, tab, c in ((2, 8, RED), (4, 20, LIME)):
            cv.box(tab, top, tab + 4, top + 3, c)
            cv.box(6, top + 3, 25, top + 8, WHITE)
        cv.box(15, 7, 19, 10, YELLOW)
        cv.box(5, 10, 26, 25, WHITE)
        # Front card: a person and three lines of address.
        for dy, row in enumerate(BUST):
            for dx, ch in enumerate(row):
                if ch != ".":
                    cv.dot(7 + dx, 12 + dy, NAVY if ch == "N" else BLUE)
        for y in (14, 18, 22):
            cv.hline(17, 23, y, BLACK)
        cv.hline(17, 20, 22, BLACK)
    else:
        stand(cv, 4, 11, 13, 15, GREY)
        for kx, hub in ((0, 1), (15, 14)):
            cv.vline(kx, 8, 9, BLACK)
            cv.vline(hub, 7, 10, BLACK)
            cv.vline(hub, 8, 9, GREY)
        cv.box(8, 0, 11, 2, LIME)
        cv.box(4, 2, 11, 5, WHITE)
        cv.box(4, 3, 7, 5, YELLOW)
        cv.box(2, 5, 13, 12, WHITE)
        cv.fill(4, 7, 5, 8, BLUE)
        cv.fill(3, 10, 6, 11, BLUE)
        for y in (7, 9, 11):
            cv.hline(8, 11, y, BLACK)
    return masked(cv)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else DEFAULT_OUT
    os.makedirs(out, exist_ok=True)
    font = font_file()
    faces = [
        ("ADD", 122, 21, wide_face(draw_add, CARD_W, CARD_H, Text("添加", font))),
        ("DELETE", 122, 21, wide_face(draw_delete, CARD_W, CARD_H, Text("删除", font))),
        ("CLEAR", 58, 102, tall_face(draw_eraser, ERASER_W, ERASER_H,
                                     [Text("清", font), Text("除", font)])),
    ]
    pictures = {f"{name}{state}": button_face(w, h, draw, state)
                for name, w, h, draw in faces for state in "UDF"}
    for name, text in (("LABELPHONE", "电话号码"), ("LABELNAME", "名称"),
                       ("LABELADDRESS", "地址"), ("LABELREMARKS", "备注")):
        pictures[name] = label(Text(text, font))
    for name, cv in pictures.items():
        with open(os.path.join(out, name + ".bmp"), "wb") as f:
            f.write(bmp_bytes(cv))
    with open(os.path.join(out, "contacts.ico"), "wb") as f:
        f.write(ico_bytes([icon_image(32), icon_image(16)]))


if __name__ == "__main__":
    main()
