#!/usr/bin/env python3
"""Draws the program's icon and toolbar pictures and writes them under res/.

The pictures are ours: pixel maps in this file, written as a 16-colour .ico (16 and 32 pixels)
and a 24-bit .bmp strip of four 16 x 16 toolbar pictures on a light-grey ground.
Run it again after changing a map: python3 tools/make_images.py
"""
import math
import os
import struct

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# The 16-colour palette (the classic one), as (r, g, b).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
    (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
DARK_RED, GREEN, WHITE, LIGHT_GREEN, GREY = 1, 2, 15, 10, 8


def icon_pixels(size):
    """A dark-red rounded frame around a green, hand-drawn capital N. None is transparent."""
    px = [[None] * size for _ in range(size)]
    s = size / 32.0
    radius = 7 * s
    thickness = max(2, round(3 * s))
    for y in range(size):
        for x in range(size):
            # Distance outside the rounded rectangle's inner core, to draw the frame and its fill.
            cx = min(max(x + 0.5, radius), size - radius)
            cy = min(max(y + 0.5, radius), size - radius)
            d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
            if d <= radius:
                px[y][x] = DARK_RED if d > radius - thickness else WHITE
    # The N: two uprights and a diagonal, with a little wobble so that it looks drawn by hand.
    pen = max(1, round(2.2 * s))
    top, bottom = 7 * s, 25 * s
    left, right = 9 * s, 22.5 * s

    def dot(x, y):
        for dy in range(pen + 1):
            for dx in range(pen + 1):
                xi, yi = int(x + dx), int(y + dy)
                if 0 <= xi < size and 0 <= yi < size and px[yi][xi] == WHITE:
                    px[yi][xi] = GREEN

    steps = 80
    for i in range(steps + 1):
        t = i / steps
        y = top + (bottom - top) * t
        dot(left + 0.6 * s * math.sin(t * 5.0), y)                    # left upright
        dot(left + (right - left) * t + 0.5 * s * math.sin(t * 7), y)  # diagonal
        dot(right + 0.5 * s * math.sin(t * 4.0 + 1), top + (bottom - top) * t - 1.0 * s * t)
    return px


def ico_image(size):
    px = icon_pixels(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('BBBB', b, g, r, 0) for r, g, b in PALETTE)
    xor_row = (size * 4 + 31) // 32 * 4
    and_row = (size + 31) // 32 * 4
    xor, mask = b'', b''
    for y in reversed(range(size)):
        row = bytearray(xor_row)
        bits = bytearray(and_row)
        for x in range(size):
            c = px[y][x]
            if c is None:
                bits[x // 8] |= 0x80 >> (x % 8)
                c = 0
            row[x // 2] |= c << (4 if x % 2 == 0 else 0)
        xor += bytes(row)
        mask += bytes(bits)
    return header + palette + xor + mask


def write_ico(path, sizes):
    images = [ico_image(s) for s in sizes]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, img in zip(sizes, images):
        out += struct.pack('<BBBBHHII', s % 256, s % 256, 16, 0, 1, 4, len(img), offset)
        offset += len(img)
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))


# Toolbar pictures, 16 x 16. '.' is the light-grey ground.
COLOURS = {
    '.': (192, 192, 192), 'k': (0, 0, 0), 'w': (255, 255, 255), 'g': (128, 128, 128),
    'd': (64, 64, 64), 'y': (255, 255, 0), 'b': (0, 0, 160), 'r': (200, 0, 0),
    'o': (160, 110, 40), 'l': (230, 230, 230), 's': (160, 160, 160),
}
PRINTER = """
................
.....kkkkkkk....
.....kwwwwwk....
.....kwkkkwk....
.....kwwwwwk....
...kkkkkkkkkkk..
..kllllllllllgk.
..klllllllllygk.
..kssssssssssgk.
..kkkkkkkkkkkkk.
..kg.kwwwwwwkgk.
..kkkkwkkkkwkkk.
.....kwwwwwwk...
.....kkkkkkkk...
................
................
"""
SCISSORS = """
................
....k.....k.....
....k.....k.....
....k.....k.....
....kk...kk.....
.....k...k......
.....kk.kk......
......kkk.......
.......k........
......bkb.......
.....bb.bb......
...bbb...bbb....
..b..b...b..b...
..b..b...b..b...
...bb.....bb....
................
"""
COPY = """
................
.kkkkkk.........
.kwwwwkk........
.kwkkwkwk.......
.kwwwwkkkkkkk...
.kwkkkkwwwwkkk..
.kwwwwkwkkwkwk..
.kwkkkkwwwwkkkk.
.kwwwwkwkkkkwwk.
.kkkkkkwwwwwwwk.
......kwkkkkkwk.
......kwwwwwwwk.
......kwkkkkkwk.
......kwwwwwwwk.
......kkkkkkkkk.
................
"""
PASTE = """
................
.....kkkk.......
.kkkkkllkkkkk...
.kooklkklkook...
.koollllllook...
.koookkkkkkkk...
.kooolkwwwwkk...
.kooolkwkkwkwk..
.kooolkwwwwkkkk.
.kooolkwkkkkwwk.
.kooolkwwwwwwwk.
.kooolkwkkkkkwk.
.kooolkwwwwwwwk.
..kkkkkwkkkkkwk.
......kkkkkkkkk.
................
"""


def write_toolbar(path):
    maps = [m.strip('\n').split('\n') for m in (PRINTER, SCISSORS, COPY, PASTE)]
    for m in maps:
        assert len(m) == 16 and all(len(r) == 16 for r in m), m
    width, height = 16 * len(maps), 16
    row_bytes = (width * 3 + 3) // 4 * 4
    pixels = b''
    for y in reversed(range(height)):
        row = bytearray()
        for m in maps:
            for ch in m[y]:
                r, g, b = COLOURS[ch]
                row += bytes((b, g, r))
        pixels += bytes(row) + b'\0' * (row_bytes - len(row))
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    head = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    with open(path, 'wb') as f:
        f.write(head + info + pixels)


if __name__ == '__main__':
    write_ico(os.path.join(ROOT, 'res', 'vornnotes.ico'), [32, 16])
    write_toolbar(os.path.join(ROOT, 'res', 'toolbar.bmp'))
