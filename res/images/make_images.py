#!/usr/bin/env python3
"""Draws the program's logo (logo.png, 256 x 38, 8-bit palette) and its icon
(icon.png, 32 x 32 RGBA). Standard library only; run it again after changing
the drawing and commit the PNG files, which the build embeds as they are."""

import math
import struct
import zlib
from pathlib import Path

TEAL = (44, 162, 162)
INK = (24, 58, 74)
WHITE = (255, 255, 255)
SUPER = 4  # supersampling factor for smooth edges
LEVELS = 4  # blend steps between white and a colour in the logo's palette

GLYPHS = {
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "a": [".....", ".....", ".###.", "....#", ".####", "#...#", ".####"],
    "r": [".....", ".....", "#.##.", "##..#", "#....", "#....", "#...."],
    "n": [".....", ".....", "#.##.", "##..#", "#...#", "#...#", "#...#"],
    "e": [".....", ".....", ".###.", "#...#", "#####", "#....", ".###."],
    "l": [".#...", ".#...", ".#...", ".#...", ".#...", ".#...", "..##."],
}


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def png(width, height, color_type, rows, palette=None):
    raw = b"".join(b"\0" + bytes(r) for r in rows)
    out = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, color_type, 0, 0, 0))
    if palette is not None:
        out += chunk(b"PLTE", b"".join(bytes(c) for c in palette))
    return out + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


class Canvas:
    """Coverage of two inks (teal, dark) on a supersampled grid."""

    def __init__(self, width, height):
        self.w, self.h = width * SUPER, height * SUPER
        self.ink = [[None] * self.w for _ in range(self.h)]

    def fill(self, inside, colour):
        for y in range(self.h):
            for x in range(self.w):
                if inside((x + 0.5) / SUPER, (y + 0.5) / SUPER):
                    self.ink[y][x] = colour

    def text(self, word, x0, y0, scale, colour):
        for i, ch in enumerate(word):
            for gy, line in enumerate(GLYPHS[ch]):
                for gx, cell in enumerate(line):
                    if cell == "#":
                        left = x0 + (i * 6 + gx) * scale
                        top = y0 + gy * scale
                        self.fill(lambda x, y, l=left, t=top: l <= x < l + scale and t <= y < t + scale, colour)

    def pixel(self, px, py):
        """The dominant ink of one pixel and how much of the pixel it covers."""
        counts = {}
        for y in range(py * SUPER, (py + 1) * SUPER):
            for x in range(px * SUPER, (px + 1) * SUPER):
                c = self.ink[y][x]
                if c is not None:
                    counts[c] = counts.get(c, 0) + 1
        if not counts:
            return None, 0.0
        colour = max(counts, key=counts.get)
        return colour, sum(counts.values()) / (SUPER * SUPER)


def blend(colour, amount):
    return tuple(round(255 + (c - 255) * amount) for c in colour)


def arc(cx, cy, radius, thickness):
    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        return abs(d - radius) <= thickness / 2 and x > cx and abs(y - cy) < (x - cx) * 1.2

    return inside


def draw_logo():
    width, height = 256, 38
    canvas = Canvas(width, height)
    canvas.fill(lambda x, y: math.hypot(x - 19, y - 19) <= 15, TEAL)
    canvas.fill(lambda x, y: 12 <= x < 26 and 11 <= y < 15 or 17 <= x < 21 and 11 <= y < 28, WHITE)
    canvas.text("Tarnel", 44, 5, 4, INK)
    for radius in (7, 13, 19):
        canvas.fill(arc(196, 19, radius, 3), TEAL)

    palette = [WHITE] + [blend(c, (i + 1) / LEVELS) for c in (TEAL, INK) for i in range(LEVELS)]
    rows = []
    for py in range(height):
        row = []
        for px in range(width):
            colour, cover = canvas.pixel(px, py)
            level = round(cover * LEVELS)
            row.append(0 if colour in (None, WHITE) or level == 0 else palette.index(blend(colour, level / LEVELS)))
        rows.append(row)
    return png(width, height, 3, rows, palette)


def draw_icon():
    size = 32
    canvas = Canvas(size, size)

    def rounded_square(x, y, r=6, lo=1, hi=31):
        cx = min(max(x, lo + r), hi - r)
        cy = min(max(y, lo + r), hi - r)
        return lo <= x < hi and lo <= y < hi and math.hypot(x - cx, y - cy) <= r

    canvas.fill(rounded_square, TEAL)
    canvas.fill(lambda x, y: 8 <= x < 24 and 7 <= y < 12 or 13.5 <= x < 18.5 and 7 <= y < 26, WHITE)
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            colour, cover = canvas.pixel(px, py)
            row += list(colour or WHITE) + [round(cover * 255)]
        rows.append(row)
    return png(size, size, 6, rows)


if __name__ == "__main__":
    here = Path(__file__).parent
    (here / "logo.png").write_bytes(draw_logo())
    (here / "icon.png").write_bytes(draw_icon())
