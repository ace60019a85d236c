#!/usr/bin/env python3
"""Draws the program's icon and toolbar pictures and writes them under res/.

The pictures are ours, drawn here. The icon is drawn for each size it is shown at (16, 20, 24,
32, 40, 48, 64 and 256 pixels) in 16 colours, the 256-pixel image as PNG. The toolbar's four
pictures are hand-made 16 x 16 pixel maps for 100 % screens and the same pictures drawn from
shapes, pixel by pixel, at 20, 24 and 32 pixels for 125, 150 and 200 %: each size a .bmp strip
of 256 colours, run-length compressed, on the light-grey ground that the program makes clear.
Run it again after changing a picture: python3 tools/make_images.py
"""
import math
import os
import struct
import zlib

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


def png(width, height, rows):
    """A PNG of RGBA rows (each a bytes object of width * 4)."""
    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data +
                struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF))
    raw = b''.join(b'\0' + row for row in rows)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def ico_png(size):
    px = icon_pixels(size)
    rows = []
    for y in range(size):
        row = bytearray()
        for x in range(size):
            c = px[y][x]
            row += bytes(PALETTE[c] + (255,)) if c is not None else b'\0\0\0\0'
        rows.append(bytes(row))
    return png(size, size, rows)


def write_ico(path, sizes):
    # The largest image as PNG, as icons of 256 pixels are stored; the others as 16-colour maps.
    images = [ico_png(s) if s >= 256 else ico_image(s) for s in sizes]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, img in zip(sizes, images):
        colours = 0 if s >= 256 else 16
        bits = 32 if s >= 256 else 4
        out += struct.pack('<BBBBHHII', s % 256, s % 256, colours, 0, 1, bits, len(img), offset)
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


GROUND = COLOURS['.']


def map_pictures():
    """The four 16-pixel pictures from their maps, as rows of (r, g, b)."""
    pictures = []
    for m in (PRINTER, SCISSORS, COPY, PASTE):
        rows = m.strip('\n').split('\n')
        assert len(rows) == 16 and all(len(r) == 16 for r in rows), m
        pictures.append([[COLOURS[ch] for ch in row] for row in rows])
    return pictures


def write_strip(path, pictures):
    """A 256-colour .bmp strip of square pictures, bottom-up and run-length compressed (RLE8)."""
    size = len(pictures[0])
    width, height = size * len(pictures), size
    rows = [[px for picture in pictures for px in picture[y]] for y in range(height)]
    palette = sorted({px for row in rows for px in row})
    assert len(palette) <= 256
    index = {colour: i for i, colour in enumerate(palette)}
    data = bytearray()
    for row in reversed(rows):
        x = 0
        while x < width:
            run = 1
            while x + run < width and run < 255 and row[x + run] == row[x]:
                run += 1
            data += bytes((run, index[row[x]]))
            x += run
        data += b'\0\0'  # end of line
    data += b'\0\1'  # end of bitmap
    colours = b''.join(struct.pack('BBBB', b, g, r, 0) for r, g, b in palette)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 8, 1, len(data), 2835, 2835,
                       len(palette), 0)
    offset = 14 + len(info) + len(colours)
    head = struct.pack('<2sIHHI', b'BM', offset + len(data), 0, 0, offset)
    with open(path, 'wb') as f:
        f.write(head + info + colours + bytes(data))


class Canvas:
    """Shapes drawn in the 16-unit space of the pixel maps, at `size` pixels, on the ground.
    Edges along the axes fall on whole pixels; a pixel takes a shape's colour when its centre
    lies in the shape. So every edge is crisp, at every size."""
    SAMPLES = 1

    def __init__(self, size):
        self.size = size
        self.scale = size / 16.0
        self.pen = max(1, int(self.scale))  # outline width in pixels: 1, 1, 1 and 2
        self.px = [[GROUND] * size for _ in range(size)]

    def snap(self, v):
        return round(v * self.scale)

    def _cover(self, inside, colour, box):
        x0, y0, x1, y1 = (max(0, int(box[0]) - 1), max(0, int(box[1]) - 1),
                          min(self.size, int(box[2]) + 2), min(self.size, int(box[3]) + 2))
        n = self.SAMPLES
        for y in range(y0, y1):
            for x in range(x0, x1):
                hits = sum(1 for i in range(n) for j in range(n)
                           if inside(x + (i + 0.5) / n, y + (j + 0.5) / n))
                if hits:
                    self._blend(x, y, colour, hits / (n * n))

    def _blend(self, x, y, colour, a):
        if a >= 0.5:
            self.px[y][x] = colour

    def box(self, x0, y0, x1, y1, fill, outline=(0, 0, 0)):
        """A filled rectangle from unit (x0, y0) to (x1, y1) with a one-pen outline."""
        X0, Y0, X1, Y1 = self.snap(x0), self.snap(y0), self.snap(x1), self.snap(y1)
        for y in range(max(0, Y0), min(self.size, Y1)):
            for x in range(max(0, X0), min(self.size, X1)):
                edge = outline is not None and (x < X0 + self.pen or x >= X1 - self.pen or
                                                y < Y0 + self.pen or y >= Y1 - self.pen)
                self._blend(x, y, outline if edge else fill, 1.0)

    def hline(self, x0, x1, y, colour):
        self.box(x0, y, x1, y + self.pen / self.scale, colour, None)

    def line(self, x0, y0, x1, y1, width, colour):
        ax, ay, bx, by = x0 * self.scale, y0 * self.scale, x1 * self.scale, y1 * self.scale
        w = width * self.scale / 2

        def inside(px, py):
            dx, dy = bx - ax, by - ay
            t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
            return math.hypot(px - ax - t * dx, py - ay - t * dy) <= w
        self._cover(inside, colour, (min(ax, bx) - w, min(ay, by) - w, max(ax, bx) + w, max(ay, by) + w))

    def ring(self, cx, cy, r, width, colour):
        cx, cy, r, w = cx * self.scale, cy * self.scale, r * self.scale, width * self.scale / 2
        self._cover(lambda px, py: abs(math.hypot(px - cx, py - cy) - r) <= w, colour,
                    (cx - r - w, cy - r - w, cx + r + w, cy + r + w))

    def disc(self, cx, cy, r, colour):
        cx, cy, r = cx * self.scale, cy * self.scale, r * self.scale
        self._cover(lambda px, py: math.hypot(px - cx, py - cy) <= r, colour,
                    (cx - r, cy - r, cx + r, cy + r))


def c(ch):
    return COLOURS[ch]


def draw_printer(k):
    k.box(5, 1, 12, 6, c('w'))                    # the sheet going in
    k.hline(6.5, 10.5, 3, c('k'))
    k.box(2, 5, 15, 10, c('l'))                   # the body
    k.box(13.5, 6, 14.5, 9, c('g'), None)
    k.disc(12.3, 7.3, 0.8, c('y'))                # the light
    k.box(2, 9, 15, 13, c('s'))                   # the base
    k.box(5, 10, 13, 15, c('w'))                  # the sheet coming out
    k.hline(6.5, 11.5, 11.5, c('k'))
    k.hline(6.5, 11.5, 13, c('k'))


def draw_scissors(k):
    k.line(4.5, 1, 8.6, 9.5, 1.1, c('k'))         # the blades
    k.line(10.5, 1, 6.4, 9.5, 1.1, c('k'))
    k.disc(7.5, 8.2, 0.7, c('d'))                 # the pivot
    k.line(7.1, 9.5, 4.8, 11.4, 1.1, c('b'))      # the handles
    k.line(7.9, 9.5, 10.2, 11.4, 1.1, c('b'))
    k.ring(4.0, 13.0, 1.9, 1.0, c('b'))
    k.ring(11.0, 13.0, 1.9, 1.0, c('b'))


def draw_sheet(k, x0, y0, x1, y1):
    k.box(x0, y0, x1, y1, c('w'))
    y = y0 + 2.5
    while y < y1 - 1.5:
        k.hline(x0 + 1.5, x1 - 1.5, y, c('k'))
        y += 2


def draw_copy(k):
    draw_sheet(k, 1, 1, 9, 10)
    draw_sheet(k, 6, 4, 15, 15)


def draw_paste(k):
    k.box(1, 2, 12, 14, c('o'))                   # the board
    k.box(4, 1, 9, 4, c('l'))                     # the clip
    draw_sheet(k, 6, 6, 15, 15)


def drawn_pictures(size):
    pictures = []
    for draw in (draw_printer, draw_scissors, draw_copy, draw_paste):
        k = Canvas(size)
        draw(k)
        pictures.append(k.px)
    return pictures


def write_toolbar_pictures():
    write_strip(os.path.join(ROOT, 'res', 'toolbar16.bmp'), map_pictures())
    for size in (20, 24, 32):
        write_strip(os.path.join(ROOT, 'res', 'toolbar%d.bmp' % size), drawn_pictures(size))


if __name__ == '__main__':
    write_ico(os.path.join(ROOT, 'res', 'vornnotes.ico'), [32, 16, 20, 24, 40, 48, 64, 256])
    write_toolbar_pictures()
