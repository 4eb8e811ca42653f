#!/usr/bin/env python3
"""Reads the launcher's bitmaps and icon back from launcher/res/ and lays them out,
enlarged, on one PNG sheet, so the pictures can be checked without Windows.

Usage: python3 tools/art/preview.py [output.png] [scale]
"""

import os
import struct
import sys
import zlib

from make_launcher_bitmaps import BUTTONS, DEFAULT_OUT as RES_DIR

BACKGROUND = (0xC0, 0xC0, 0xC0)
GAP = 8


def read_palette(data, offset):
    return [(data[i + 2], data[i + 1], data[i]) for i in range(offset, offset + 64, 4)]


def read_4bit(data, offset, width, height, palette):
    stride = (width * 4 + 31) // 32 * 4
    rows = []
    for y in range(height):
        start = offset + (height - 1 - y) * stride
        rows.append([palette[(data[start + x // 2] >> (4 if x % 2 == 0 else 0)) & 15] for x in range(width)])
    return rows


def read_bmp(path):
    with open(path, "rb") as f:
        data = f.read()
    assert data[:2] == b"BM", path
    bits_offset, = struct.unpack_from("<I", data, 10)
    _, width, height, _, bit_count = struct.unpack_from("<IiiHH", data, 14)
    assert bit_count == 4, path
    return read_4bit(data, bits_offset, width, height, read_palette(data, 54))


def read_ico(path):
    """Each image of the icon, with masked pixels shown as the sheet's background."""
    with open(path, "rb") as f:
        data = f.read()
    _, _, count = struct.unpack_from("<HHH", data, 0)
    images = []
    for i in range(count):
        width, height, _, _, _, _, _, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        width, height = width or 256, height or 256
        xor_offset = offset + 40 + 64
        rows = read_4bit(data, xor_offset, width, height, read_palette(data, offset + 40))
        mask_offset = xor_offset + (width * 4 + 31) // 32 * 4 * height
        mask_stride = (width + 31) // 32 * 4
        for y in range(height):
            start = mask_offset + (height - 1 - y) * mask_stride
            for x in range(width):
                if data[start + x // 8] & (0x80 >> (x % 8)):
                    rows[y][x] = BACKGROUND
        images.append(rows)
    return images


def write_png(path, rows):
    raw = b"".join(b"\0" + bytes(v for pixel in row for v in pixel) for row in rows)

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    header = struct.pack(">IIBBBBB", len(rows[0]), len(rows), 8, 2, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
                + chunk(b"IEND", b""))


def sheet(grid, scale):
    """grid: rows of images; each image is a list of pixel rows."""
    cell = max(len(img[0]) for row in grid for img in row) * scale
    width = GAP + len(max(grid, key=len)) * (cell + GAP)
    height = GAP + len(grid) * (cell + GAP)
    out = [[BACKGROUND] * width for _ in range(height)]
    for r, row in enumerate(grid):
        for col, img in enumerate(row):
            left, top = GAP + col * (cell + GAP), GAP + r * (cell + GAP)
            for y, pixels in enumerate(img):
                for x, pixel in enumerate(pixels):
                    for dy in range(scale):
                        out[top + y * scale + dy][left + x * scale:left + (x + 1) * scale] = [pixel] * scale
    return out


def main():
    target = sys.argv[1] if len(sys.argv) > 1 else "launcher_sheet.png"
    scale = int(sys.argv[2]) if len(sys.argv) > 2 else 4
    grid = [[read_bmp(os.path.join(RES_DIR, name + state + ".bmp")) for state in "UDF"] for name, _ in BUTTONS]
    grid.append(read_ico(os.path.join(RES_DIR, "launcher.ico")))
    write_png(target, sheet(grid, scale))


if __name__ == "__main__":
    main()
