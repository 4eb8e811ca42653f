#!/usr/bin/env python3
"""Draws the log viewer's toolbar strip and icon.

Writes into logbook/res: toolbar.bmp (four 16 x 15 images side by side, 4-bit
on silver, in the order of the toolbar's buttons: delete row, open fax, send
again, help) and logbook.ico (32 x 32 and 16 x 16, 4-bit).

    python3 tools/art/make_logbook_bitmaps.py [output-folder]
"""

import os
import sys

from bmp16 import (BLACK, GREY, MAROON, NAVY, RED, SILVER, TEAL, WHITE, Canvas,
                   bmp_bytes, ico_bytes, masked)
from make_viewer_bitmaps import TILE_H, TILE_W, lines, page, sprite, tb_help, words

DEFAULT_OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)),
                           "..", "..", "logbook", "res")


# --- toolbar images, 16 x 15 each ---------------------------------------------

def log_rows(cv, x0, y0, x1, y1, selected=None):
    """A small report list: white, framed, a grey heading, and rows of text
    in two columns; the selected row is drawn navy, as the list draws it."""
    cv.box(x0, y0, x1, y1, WHITE)
    cv.hline(x0 + 1, x1 - 1, y0 + 1, GREY)
    split = x0 + (x1 - x0) // 2
    for i, y in enumerate(range(y0 + 3, y1, 2)):
        if i == selected:
            cv.fill(x0 + 1, y - 1 if y - 1 > y0 + 1 else y, x1 - 1, y, NAVY)
            ink = WHITE
        else:
            ink = BLACK
        cv.hline(x0 + 2, split - 1, y, ink)
        cv.hline(split + 1, x1 - 2 - (i % 2) * 2, y, ink)


def tb_delete_row(cv):
    log_rows(cv, 0, 0, 11, 11, selected=2)
    # The cross sits over the list's corner, as the selected row is what goes.
    sprite(cv, 7, 7, [
        "RR....RR",
        "RRR..RRR",
        ".RRRRRR.",
        "..RRRR..",
        "..RRRR..",
        ".RRRRRR.",
        "RRR..RRR",
        "RR....RR",
    ])
    for x, y in ((8, 7), (13, 7), (8, 14), (13, 14)):
        cv.dot(x, y, MAROON)


def tb_open_fax(cv):
    # A received page: the fax header line the sending machine prints across
    # its top, then the letter.
    page(cv, 2, 0, 13, 14, 3)
    words(cv, 4, 9, 2, (2, 1, 3), GREY)
    lines(cv, 4, 11, (5, 7, 9, 11), BLACK)
    cv.hline(8, 10, 13, NAVY)


ARROW_RIGHT = [
    "...K.....",
    "...KK....",
    "KKKKBK...",
    "KBBBBBK..",
    "KBBBBBBK.",
    "KBBBBBK..",
    "KKKKBK...",
    "...KK....",
    "...K.....",
]


def tb_send_again(cv):
    page(cv, 0, 0, 9, 14, 3)
    lines(cv, 2, 7, (5, 7, 9, 11, 13), BLACK)
    sprite(cv, 7, 5, ARROW_RIGHT)


TOOLBAR = [tb_delete_row, tb_open_fax, tb_send_again, tb_help]


def toolbar():
    strip = Canvas(TILE_W * len(TOOLBAR), TILE_H)
    for i, draw in enumerate(TOOLBAR):
        tile = Canvas(TILE_W, TILE_H)
        draw(tile)
        for y, row in enumerate(tile.px):
            strip.px[y][i * TILE_W:(i + 1) * TILE_W] = row
    return strip


# --- icon -----------------------------------------------------------------------

def ledger_page(cv, x0, y0, x1, y1, rows, bold_row, spine_left):
    """One page of the open log book: ruled rows, a column rule, and entries
    as short runs; one entry is bold, as an unread fax is in the list."""
    cv.fill(x0, y0, x1, y1, WHITE)
    rule = x0 + (x1 - x0) * 2 // 5
    cv.vline(rule, y0 + 1, y1 - 1, RED)
    for i, y in enumerate(rows):
        cv.hline(x0 + 1, x1 - 1, y + 1, SILVER)
        ink = BLACK
        thick = i == bold_row
        left = (2, 1, 2) if i % 2 else (1, 3)
        right = (3, 2, 4) if i % 3 else (5, 2)
        words(cv, x0 + 1, rule - 2, y, left, ink)
        words(cv, rule + 2, x1 - 1, y, right, ink)
        if thick:
            words(cv, x0 + 1, rule - 2, y - 1, left, ink)
            words(cv, rule + 2, x1 - 1, y - 1, right, ink)
    # The inner edge of each page darkens towards the binding.
    cv.vline(x1 if spine_left else x0, y0, y1, GREY)


def logbook_icon(n):
    """An open log book on its teal cover, ruled in rows like the log's list."""
    cv = Canvas(n, n, fill=None)
    if n >= 32:
        cv.box(0, 5, 31, 29, TEAL)
        cv.hline(1, 30, 28, NAVY)
        ledger_page(cv, 2, 3, 15, 27, (7, 10, 13, 16, 19, 22, 25), 1, spine_left=False)
        ledger_page(cv, 16, 3, 29, 27, (7, 10, 13, 16, 19, 22), 4, spine_left=True)
        cv.rect(2, 3, 29, 27, BLACK)
        cv.vline(15, 3, 28, BLACK)
        cv.vline(16, 3, 28, BLACK)
        # Headings across the top of both pages.
        cv.hline(3, 14, 4, NAVY)
        cv.hline(17, 28, 4, NAVY)
    else:
        cv.box(0, 3, 15, 14, TEAL)
        cv.fill(1, 2, 14, 12, WHITE)
        cv.rect(1, 2, 14, 12, BLACK)
        cv.vline(7, 2, 13, BLACK)
        cv.vline(8, 2, 13, BLACK)
        cv.hline(2, 6, 3, NAVY)
        cv.hline(9, 13, 3, NAVY)
        for y in (5, 7, 9, 11):
            cv.hline(2, 6, y, BLACK)
            cv.hline(9, 13 - (y % 4 == 1) * 2, y, BLACK)
        cv.vline(4, 4, 11, RED)
        cv.vline(11, 4, 11, RED)
        for y in (5, 7, 9, 11):
            cv.dot(4, y, BLACK)
            cv.dot(11, y, BLACK)
    return masked(cv)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else DEFAULT_OUT
    os.makedirs(out, exist_ok=True)
    files = {
        "toolbar.bmp": bmp_bytes(toolbar()),
        "logbook.ico": ico_bytes([logbook_icon(32), logbook_icon(16)]),
    }
    for name, data in files.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
