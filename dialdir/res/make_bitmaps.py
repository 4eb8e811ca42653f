#!/usr/bin/env python3
"""Draws the phone book's button faces, dial pad keys, pad panel and field labels.

Writes 4-bit BMPs into dialdir/res with the suite's art helpers (tools/art), the
Chinese text in WenQuanYi Micro Hei through ImageMagick's convert.

    python3 dialdir/res/make_bitmaps.py
"""

import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools", "art"))

from bmp16 import BLACK, GREY, WHITE, Canvas, bmp_bytes, button_face  # noqa: E402
from make_contacts_bitmaps import Text, font_file, label  # noqa: E402


def centred(texts, lead=3):
    """The texts stacked top to bottom, centred as one block."""
    def draw(cv):
        block = sum(t.h for t in texts) + lead * (len(texts) - 1)
        y = (cv.h - block) // 2
        for t in texts:
            t.draw(cv, (cv.w - t.w) // 2, y)
            y += t.h + lead
    return draw


def panel(w, h):
    """Sunken plate behind the pad keys."""
    cv = Canvas(w, h)
    cv.hline(0, w - 1, 0, GREY)
    cv.vline(0, 0, h - 1, GREY)
    cv.hline(0, w - 1, h - 1, WHITE)
    cv.vline(w - 1, 0, h - 1, WHITE)
    cv.hline(1, w - 2, 1, BLACK)
    cv.vline(1, 1, h - 2, BLACK)
    return cv


def main():
    font = font_file()
    faces = {
        "OK": (43, 33, ["确定"]),
        "ADD": (81, 21, ["添加"]),
        "DELETE": (80, 21, ["删除"]),
        "CLEAR": (42, 57, ["清", "除"]),
        "PAUSE": (32, 19, ["暂停"]),
        "K": (32, 19, ["*"]),
        "S": (32, 19, ["#"]),
        "M": (32, 19, ["-"]),
    }
    for digit in "0123456789":
        faces[digit] = (32, 19, [digit])
    pictures = {}
    for name, (w, h, words) in faces.items():
        draw = centred([Text(word, font) for word in words])
        for state in "UDF":
            pictures[name + state] = button_face(w, h, draw, state)
    pictures["PAD"] = panel(186, 128)
    for name, text in (("LABELPHONE", "电话号码"), ("LABELNAME", "名称"),
                       ("LABELADDRESS", "地址"), ("LABELREMARKS", "备注")):
        pictures[name] = label(Text(text, font), w=55)
    for name, cv in pictures.items():
        with open(os.path.join(HERE, name + ".bmp"), "wb") as f:
            f.write(bmp_bytes(cv))


if __name__ == "__main__":
    main()
