#!/usr/bin/env python3
"""Draws the Launcher's button faces and window icon.

Writes 36 x 36, 4-bit BMPs (up, down and focused face for each of the six
buttons) and a two-image 4-bit launcher.ico into launcher/res.

    python3 tools/art/make_launcher_bitmaps.py [output-folder]
"""

import os
import sys

from bmp16 import (AQUA, BLACK, BLUE, FUCHSIA, GREY, LIME, MAROON, NAVY, RED, SILVER,
                   WHITE, YELLOW, Canvas, bmp_bytes, button_face, ico_bytes)

SIZE = 36
DEFAULT_OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)),
                           "..", "..", "launcher", "res")


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


# --- icon ---------------------------------------------------------------------

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


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else DEFAULT_OUT
    os.makedirs(out, exist_ok=True)
    for name, draw in BUTTONS:
        for state in "UDF":
            with open(os.path.join(out, f"{name}{state}.bmp"), "wb") as f:
                f.write(bmp_bytes(button_face(SIZE, SIZE, draw, state)))
    with open(os.path.join(out, "launcher.ico"), "wb") as f:
        f.write(ico_bytes([icon_image(32), icon_image(16)]))


if __name__ == "__main__":
    main()
