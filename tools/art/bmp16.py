"""Drawing and file writing shared by the art scripts: a palette-index canvas,
the classic button edge, 4-bit BMP and ICO output in the standard 16-colour
Windows palette, 8-bit BMP output in a palette of the caller's, and
monochrome CUR output."""

import math
import struct

# Standard Windows 16-colour palette, in index order (R, G, B).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
(BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER,
 GREY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE) = range(16)


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


def bevel(cv, raised):
    """Classic two-pixel push-button edge; the pressed face swaps the lights."""
    r, b = cv.w - 1, cv.h - 1
    outer_tl, outer_br = (WHITE, BLACK) if raised else (BLACK, WHITE)
    inner_tl, inner_br = (SILVER, GREY) if raised else (GREY, SILVER)
    cv.hline(0, r, 0, outer_tl)
    cv.vline(0, 0, b, outer_tl)
    cv.hline(0, r, b, outer_br)
    cv.vline(r, 0, b, outer_br)
    cv.hline(1, r - 1, 1, inner_tl)
    cv.vline(1, 1, b - 1, inner_tl)
    cv.hline(1, r - 1, b - 1, inner_br)
    cv.vline(r - 1, 1, b - 1, inner_br)


def focus_rect(cv, inset=3):
    r, b = cv.w - 1 - inset, cv.h - 1 - inset
    for x in range(inset, r + 1, 2):
        cv.dot(x, inset, BLACK)
        cv.dot(x, b, BLACK)
    for y in range(inset, b + 1, 2):
        cv.dot(inset, y, BLACK)
        cv.dot(r, y, BLACK)


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


def pack_1bit(rows):
    """Bottom-up 1-bit rows, a set bit wherever rows holds a true value."""
    stride = (len(rows[0]) + 31) // 32 * 4
    out = []
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, on in enumerate(row):
            if on:
                bits[x // 8] |= 0x80 >> (x % 8)
        out.append(bytes(bits))
    return b"".join(out)


def pack_mask(opaque):
    return pack_1bit([[not solid for solid in row] for row in opaque])


def info_header(w, h, image_size, bits=4):
    return struct.pack("<IiiHHIIiiII", 40, w, h, 1, bits, 0, image_size, 0, 0, 1 << bits, 0)


def bmp_bytes(cv):
    bits = pack_4bit(cv)
    offset = 14 + 40 + 64
    return (struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
            + info_header(cv.w, cv.h, len(bits)) + palette_bytes() + bits)


def bmp8_bytes(rows, palette):
    """8-bit BMP of palette indices; the table is padded to all 256 entries
    with black so that every entry the header counts is defined."""
    w, h = len(rows[0]), len(rows)
    stride = (w + 3) // 4 * 4
    bits = b"".join(bytes(row).ljust(stride, b"\0") for row in reversed(rows))
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette).ljust(1024, b"\0")
    offset = 14 + 40 + 1024
    return (struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
            + info_header(w, h, len(bits), bits=8) + table + bits)


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


def cur_bytes(cv, hotspot):
    """One monochrome cursor image from a canvas of None (transparent), BLACK
    and WHITE. Where an icon entry keeps planes and bit count, a cursor entry
    keeps the hotspot."""
    xor = pack_1bit([[p == WHITE for p in row] for row in cv.px])
    mask = pack_1bit([[p is None for p in row] for row in cv.px])
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in (PALETTE[BLACK], PALETTE[WHITE]))
    blob = info_header(cv.w, 2 * cv.h, len(xor) + len(mask), bits=1) + colours + xor + mask
    entry = struct.pack("<BBBBHHII", cv.w, cv.h, 2, 0, hotspot[0], hotspot[1], len(blob), 6 + 16)
    return struct.pack("<HHH", 0, 2, 1) + entry + blob


def masked(cv):
    """Canvas drawn on None as transparent, as an ICO image and its opacity."""
    opaque = [[p is not None for p in row] for row in cv.px]
    cv.px = [[BLACK if p is None else p for p in row] for row in cv.px]
    return cv, opaque


def button_face(w, h, draw, state):
    """state U, D or F; the pressed face draws its content one pixel right and down."""
    cv = Canvas(w, h)
    if state == "D":
        cv.ox = cv.oy = 1
    draw(cv)
    cv.ox = cv.oy = 0
    bevel(cv, raised=state != "D")
    if state == "F":
        focus_rect(cv)
    return cv
