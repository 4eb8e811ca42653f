#!/usr/bin/env python3
"""Draws the fax viewer's toolbar strip, icons and cursors.

Writes into viewer/res: toolbar.bmp (fourteen 16 x 15 images side by side,
4-bit on silver, in the order of the toolbar's buttons), viewer.ico and
smhdoc.ico (32 x 32 and 16 x 16, 4-bit) and the monochrome cursors
zoomin.cur, zoomout.cur and select.cur.

    python3 tools/art/make_viewer_bitmaps.py [output-folder]
"""

import math
import os
import sys

from bmp16 import (AQUA, BLACK, BLUE, GREY, NAVY, OLIVE, RED, SILVER, TEAL, WHITE,
                   YELLOW, Canvas, bmp_bytes, cur_bytes, ico_bytes, masked)

DEFAULT_OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)),
                           "..", "..", "viewer", "res")
TILE_W, TILE_H = 16, 15

KEY = {"K": BLACK, "G": GREY, "S": SILVER, "W": WHITE, "Y": YELLOW, "O": OLIVE,
       "N": NAVY, "B": BLUE, "A": AQUA, "T": TEAL, "R": RED}


def sprite(cv, x, y, rows, mirror=False):
    """Pixel rows keyed by KEY; '.' leaves what is underneath."""
    for dy, row in enumerate(rows):
        for dx, ch in enumerate(row[::-1] if mirror else row):
            if ch != ".":
                cv.dot(x + dx, y + dy, KEY[ch])


def page(cv, x0, y0, x1, y1, ear):
    """White sheet with its top right corner folded down over the face. The
    fold's creases are grey: in black, a small page's corner turns into a blot."""
    for y in range(y0, y1 + 1):
        cut = x1 - ear + (y - y0) if y - y0 < ear else x1
        cv.hline(x0, cut, y, WHITE)
    cv.vline(x1 - ear, y0 + 1, y0 + ear, GREY)
    cv.hline(x1 - ear, x1 - 1, y0 + ear, GREY)
    cv.hline(x0, x1 - ear, y0, BLACK)
    cv.vline(x0, y0, y1, BLACK)
    cv.hline(x0, x1, y1, BLACK)
    cv.vline(x1, y0 + ear, y1, BLACK)
    cv.line(x1 - ear, y0, x1, y0 + ear, BLACK)


def words(cv, x0, x1, y, lengths, c):
    """A line of text as runs of ink one pixel apart, cut off at x1."""
    x = x0
    for n in lengths:
        cv.hline(x, min(x + n - 1, x1), y, c)
        x += n + 1
        if x > x1:
            return


def lines(cv, x0, x1, ys, c):
    """Ruled text for the small pages: full lines, the last one half."""
    for y in ys[:-1]:
        cv.hline(x0, x1, y, c)
    cv.hline(x0, (x0 + x1) // 2, ys[-1], c)


# --- toolbar images, 16 x 15 each ---------------------------------------------

def tb_open(cv):
    sprite(cv, 0, 0, [
        "................",
        "................",
        ".KKKK...........",
        "KYWYYK..........",
        "KWYYYYKKKKKKK...",
        "KYYYYYYYYYYYK...",
        "KYYYKKKKKKKKKKKK",
        "KYYKWWWWWWWWWWK.",
        "KYYKYYYYYYYYYYK.",
        "KYKYYYYYYYYYYK..",
        "KYKYYYYYYYYYOK..",
        "KKYOOOOOOOOOK...",
        "KKKKKKKKKKKK....",
    ])


def tb_open_fax(cv):
    # The handset is what tells a fax machine from a printer.
    sprite(cv, 0, 0, [
        "........KKKKKK..",
        "........KWWWWK..",
        "........KWKKWK..",
        "........KWWWWK..",
        ".KK..KK.KWKKWK..",
        "KGGKKGGKKWWWWK..",
        "KGGGGGGKKWKKWK..",
        ".KKKKKKKKKKKKKK.",
        "KWWWWWWWWWWWWWGK",
        "KWTTTTSSKSKSKSGK",
        "KWSSSSSSSSSSSSGK",
        "KWSRSSSSKSKSKSGK",
        "KGGGGGGGGGGGGGGK",
        ".KKKKKKKKKKKKKK.",
    ])


def tb_save_as(cv):
    sprite(cv, 0, 0, [
        "................",
        ".KKKKKKKKKKKKK..",
        ".KNKWWWWWWWKNK..",
        ".KNKWWWWWWWKNK..",
        ".KNKWKKKKKWKNK..",
        ".KNKWWWWWWWKNK..",
        ".KNKWKKKKWWKNK..",
        ".KNKWWWWWWWKNK..",
        ".KNNKKKKKKKNNK..",
        ".KNNNNNNNNNNNK..",
        ".KNNSSSSSSSNNK..",
        ".KNNSKKSSSSNNK..",
        ".KNNSKKSSSSNNK..",
        ".KKKKKKKKKKKKK..",
    ])


def tb_copy(cv):
    # The back sheet shows only its left edge of text past the front one.
    page(cv, 1, 0, 9, 10, 3)
    lines(cv, 3, 4, (3, 5, 7, 9), NAVY)
    page(cv, 6, 4, 14, 14, 3)
    lines(cv, 8, 12, (9, 11, 13), NAVY)


def tb_select(cv):
    x0, y0, x1, y1 = 1, 2, 11, 10
    for x in range(x0, x1 + 1):
        for y in (y0, y1):
            if (x - x0) % 3 != 2:
                cv.dot(x, y, BLACK)
    for y in range(y0, y1 + 1):
        for x in (x0, x1):
            if (y - y0) % 3 != 2:
                cv.dot(x, y, BLACK)
    # The cross-hair drags the far corner out, as the select cursor does.
    cv.hline(x1 - 3, x1 + 3, y1, NAVY)
    cv.vline(x1, y1 - 3, y1 + 3, NAVY)


LENS = [
    "...KKKKK........",
    ".KKWWWWWKK......",
    ".KWWWWWWWK......",
    "KWWWWWWWWWK.....",
    "KWWWWWWWWWK.....",
    "KWWWWWWWWWK.....",
    "KWWWWWWWWWK.....",
    "KWWWWWWWWWK.....",
    ".KWWWWWWWK......",
    ".KKWWWWWKKK.....",
    "...KKKKKKKKK....",
    "..........KKK...",
    "...........KKK..",
    "............KKK.",
    ".............KK.",
]


def tb_zoom_in(cv):
    sprite(cv, 0, 0, LENS)
    cv.hline(3, 7, 5, BLACK)
    cv.vline(5, 3, 7, BLACK)


def tb_zoom_out(cv):
    sprite(cv, 0, 0, LENS)
    cv.hline(3, 7, 5, BLACK)


# Fifteen columns wide, so that mirrored it still leaves the last one clear.
QUARTER_TURN = [
    "...............",
    "....BBBBBB.....",
    "...BBBBBBBBB...",
    "...BB.....BBB..",
    "...........BB..",
    "...........BB..",
    ".........BBBBBB",
    "..........BBBB.",
    "...........BB..",
]


def tb_rotate_right(cv):
    page(cv, 0, 5, 7, 14, 3)
    lines(cv, 2, 5, (9, 11, 13), BLACK)
    sprite(cv, 0, 0, QUARTER_TURN)


def tb_rotate_left(cv):
    page(cv, 7, 5, 14, 14, 3)
    lines(cv, 9, 12, (9, 11, 13), BLACK)
    sprite(cv, 0, 0, QUARTER_TURN, mirror=True)


def tb_rotate_180(cv):
    page(cv, 1, 0, 8, 8, 3)
    lines(cv, 3, 6, (4, 6), BLACK)
    sprite(cv, 0, 0, [
        "................",
        "..........BBB...",
        "..........BBBB..",
        ".............BB.",
        ".............BB.",
        ".............BB.",
        ".............BB.",
        ".............BB.",
        ".............BB.",
        ".....B......BB..",
        "....BB.....BBB..",
        "...BBBBBBBBBB...",
        "...BBBBBBBBB....",
        "....BB..........",
        ".....B..........",
    ])


def tb_smooth(cv):
    # One stroke: blocky steps below, the same slope with soft grey edges above.
    sprite(cv, 0, 0, [
        "................",
        "..........GKKKG.",
        ".........GKKKG..",
        "........GKKKG...",
        ".......GKKKG....",
        "......GKKKG.....",
        ".....GKKKG......",
        "....GKKKG.......",
        "...KKKK.........",
        "...KKKK.........",
        "...KKKK.........",
        "KKKK............",
        "KKKK............",
        "KKKK............",
        "................",
    ])


PAGE_ARROW_UP = [
    "....K....",
    "...KBK...",
    "..KBBBK..",
    ".KBBBBBK.",
    "KKKBBBKKK",
    "..KBBBK..",
    "..KBBBK..",
    "..KKKKK..",
]


def tb_page(cv, arrow):
    page(cv, 0, 0, 9, 14, 3)
    lines(cv, 2, 7, (5, 7, 9, 11), BLACK)
    sprite(cv, 6, 7, arrow)


def tb_previous(cv):
    tb_page(cv, PAGE_ARROW_UP)


def tb_next(cv):
    tb_page(cv, PAGE_ARROW_UP[::-1])


def tb_help(cv):
    sprite(cv, 0, 0, [
        "................",
        ".K..............",
        ".KK.............",
        ".KWK......NNNN..",
        ".KWWK....NN..NN.",
        ".KWWWK.......NN.",
        ".KWWWWK.....NN..",
        ".KWWWWWK...NN...",
        ".KWWKKKK...NN...",
        ".KWKWK..........",
        ".KK.KWK....NN...",
        ".K...KWK...NN...",
        "......KWK.......",
        ".......K........",
        "................",
    ])


TOOLBAR = [tb_open, tb_open_fax, tb_save_as, tb_copy, tb_select, tb_zoom_in, tb_zoom_out,
           tb_rotate_right, tb_rotate_left, tb_rotate_180, tb_smooth, tb_previous, tb_next,
           tb_help]


def toolbar():
    strip = Canvas(TILE_W * len(TOOLBAR), TILE_H)
    for i, draw in enumerate(TOOLBAR):
        tile = Canvas(TILE_W, TILE_H)
        draw(tile)
        for y, row in enumerate(tile.px):
            strip.px[y][i * TILE_W:(i + 1) * TILE_W] = row
    return strip


# --- icons ----------------------------------------------------------------------

def magnified_text(cv, rows, x_end):
    """Ink at twice the page's size, wherever the glass shows; the last row
    stops at x_end like the end of a paragraph."""
    for y in rows:
        for x in range(cv.w):
            if cv.px[y][x] == AQUA and (y != rows[-1] or x <= x_end):
                cv.px[y][x] = BLACK


def viewer_icon(n):
    """A received page under a magnifier that doubles its text."""
    cv = Canvas(n, n, fill=None)
    if n >= 32:
        page(cv, 2, 1, 21, 29, 6)
        words(cv, 4, 14, 3, (3, 1, 2, 1, 4), GREY)
        for y, lengths in ((7, (4, 3, 5)), (9, (2, 6, 3)), (11, (5, 2, 4)),
                           (13, (3, 4)), (17, (6, 2, 3)), (19, (2, 4, 5)),
                           (21, (4, 3, 2)), (23, (5, 4)), (25, (3, 2, 6)), (27, (4, 4))):
            words(cv, 4, 19, y, lengths, BLACK)
        cx, cy = 19, 18
        cv.polygon([(23, 26), (26, 23), (30, 27), (27, 30)], GREY)
        cv.line(26, 25, 28, 27, SILVER)
        cv.ellipse(cx, cy, 8, 8, GREY)
        cv.ellipse(cx, cy, 6, 6, AQUA)
        magnified_text(cv, (cy - 3, cy - 2, cy + 1, cy + 2, cy + 5, cy + 6), cx)
        cv.arc(cx, cy, 4, 110, 160, WHITE)
    else:
        page(cv, 0, 0, 10, 15, 3)
        for y in (5, 7, 9, 11, 13):
            cv.hline(2, 8, y, BLACK)
        sprite(cv, 6, 5, [
            "..KKKK....",
            ".KAAAAK...",
            "KAWAAAAK..",
            "KWAAAAAK..",
            "KAAAAAAK..",
            "KAAAAAAK..",
            ".KAAAAKK..",
            "..KKKKGGK.",
            "......KGGK",
            ".......KKK",
        ])
    return masked(cv)


FAX_MARK_32 = [
    ".........KKKKKK.",
    ".........KWWWWK.",
    ".........KWKKWK.",
    ".KK...KK.KWWWWK.",
    "KGGKKKGGKKWKKWK.",
    "KGGGGGGGKKWWWWK.",
    ".KKKKKKKKKKKKKK.",
    "KWWWWWWWWWWWWWGK",
    "KWSSSSSSSSSSSSGK",
    "KWTTTTSSKSKSKSGK",
    "KWSSSSSSSSSSSSGK",
    "KWSRSSSSKSKSKSGK",
    "KGGGGGGGGGGGGGGK",
    "KKKKKKKKKKKKKKKK",
]

FAX_MARK_16 = [
    "......KKKK",
    ".KK.KKKWWK",
    "KGKKGKKWWK",
    "KKKKKKKKKK",
    "KWWWWWWWGK",
    "KTTSSKSKGK",
    "KGGGGGGGGK",
    "KKKKKKKKKK",
]


def smh_icon(n):
    """A fax document: header line and text, with the machine it came from
    set over its lower left corner."""
    cv = Canvas(n, n, fill=None)
    if n >= 32:
        page(cv, 7, 1, 28, 30, 7)
        words(cv, 9, 19, 3, (2, 1, 3, 1, 2), GREY)
        for y, lengths in ((8, (4, 3, 5, 2)), (10, (2, 6, 3, 4)), (12, (5, 2, 4, 3)),
                           (14, (3, 4, 6)), (16, (6, 2, 3, 4)), (18, (4, 5)),
                           (22, (3, 2, 4)), (24, (5, 3)), (26, (2, 4, 3))):
            words(cv, 10, 25, y, lengths, BLACK)
        sprite(cv, 1, 17, FAX_MARK_32)
    else:
        page(cv, 4, 0, 15, 15, 4)
        cv.hline(6, 10, 2, GREY)
        for y in (5, 7):
            cv.hline(6, 13, y, BLACK)
        sprite(cv, 0, 8, FAX_MARK_16)
    return masked(cv)


# --- cursors --------------------------------------------------------------------

def halo(cv):
    """Rings the black ink in white so the cursor shows on black fax text."""
    ink = {(x, y) for y, row in enumerate(cv.px) for x, p in enumerate(row) if p == BLACK}
    for x, y in ink:
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                if 0 <= x + dx < cv.w and 0 <= y + dy < cv.h and cv.px[y + dy][x + dx] is None:
                    cv.px[y + dy][x + dx] = WHITE


def magnifier_cursor(plus):
    cv = Canvas(32, 32, fill=None)
    c = 8
    for y in range(32):
        for x in range(32):
            d = math.hypot(x - c, y - c)
            if d <= 5.5:
                cv.dot(x, y, WHITE)
            elif d <= 7.5:
                cv.dot(x, y, BLACK)
    cv.polygon([(13, 15), (15, 13), (22, 20), (20, 22)], BLACK)
    cv.hline(c - 3, c + 3, c, BLACK)
    if plus:
        cv.vline(c, c - 3, c + 3, BLACK)
    halo(cv)
    return cv, (c, c)


def select_cursor():
    cv = Canvas(32, 32, fill=None)
    c = 8
    cv.hline(c - 7, c + 7, c, BLACK)
    cv.vline(c, c - 7, c + 7, BLACK)
    halo(cv)
    x0, y0, x1, y1 = c + 4, c + 4, c + 15, c + 12
    # Alternate black and white dashes, so the frame shows on any ground.
    edge = ([(x, y0) for x in range(x0, x1)] + [(x1, y) for y in range(y0, y1)]
            + [(x, y1) for x in range(x1, x0, -1)] + [(x0, y) for y in range(y1, y0, -1)])
    for i, (x, y) in enumerate(edge):
        cv.dot(x, y, BLACK if i // 2 % 2 == 0 else WHITE)
    return cv, (c, c)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else DEFAULT_OUT
    os.makedirs(out, exist_ok=True)
    files = {
        "toolbar.bmp": bmp_bytes(toolbar()),
        "viewer.ico": ico_bytes([viewer_icon(32), viewer_icon(16)]),
        "smhdoc.ico": ico_bytes([smh_icon(32), smh_icon(16)]),
        "zoomin.cur": cur_bytes(*magnifier_cursor(plus=True)),
        "zoomout.cur": cur_bytes(*magnifier_cursor(plus=False)),
        "select.cur": cur_bytes(*select_cursor()),
    }
    for name, data in files.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
