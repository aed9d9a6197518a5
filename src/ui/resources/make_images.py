#!/usr/bin/env python3
"""Draws the program's icons and its hand cursor and writes them as .ico and
.cur files beside this script. Run it again after changing a drawing; the
files it writes are kept in the repository so the build needs no Python."""
import math
import struct
import zlib
from pathlib import Path

HERE = Path(__file__).resolve().parent
SIZE = 32  # the drawings' own grid, and the cursor's size
# The sizes Windows asks for at display scales from 100 % to 250 %: title
# bar and taskbar (16 to 40), desktop and Start menu (32 to 64), large views
# (256, kept compressed as PNG, as icons since Vista may hold it).
ICON_SIZES = (16, 20, 24, 32, 40, 48, 64, 256)
SAMPLES = 4  # samples across each pixel, for smooth edges at every size


# A drawing is a list of (inside, colour) layers on the 32-unit grid, painted
# in order; inside(x, y) says whether a point of the grid is covered.
def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def cells(x0, y0, rows, scale=1):
    """The grid cells marked in `rows` (any character but a blank)."""
    marked = {(i, j) for j, row in enumerate(rows) for i, ch in enumerate(row) if ch != ' '}

    def inside(x, y):
        return (math.floor((x - x0) / scale), math.floor((y - y0) / scale)) in marked
    return inside


def render(layers, n):
    """The drawing as an n x n image of (r, g, b, a), each pixel the average
    of SAMPLES x SAMPLES points."""
    img = []
    step = SIZE / n
    for py in range(n):
        row = []
        for px in range(n):
            r = g = b = a = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) * step
                    y = (py + (sy + 0.5) / SAMPLES) * step
                    colour = (0, 0, 0, 0)
                    for inside, c in layers:
                        if inside(x, y):
                            colour = c
                    r += colour[0] * colour[3]
                    g += colour[1] * colour[3]
                    b += colour[2] * colour[3]
                    a += colour[3]
            if a == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((r // a, g // a, b // a, a // (SAMPLES * SAMPLES)))
        img.append(row)
    return img


def dib32(img):
    """A 32-bit BGRA device-independent bitmap with its AND mask, as an icon holds it."""
    n = len(img)
    header = struct.pack('<IiiHHIIiiII', 40, n, n * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b''.join(struct.pack('<BBBB', p[2], p[1], p[0], p[3])
                      for row in reversed(img) for p in row)
    stride = ((n + 31) // 32) * 4
    mask = b''
    for row in reversed(img):
        bits = 0
        for x, p in enumerate(row):
            if p[3] == 0:
                bits |= 1 << (stride * 8 - 1 - x)
        mask += bits.to_bytes(stride, 'big')
    return header + pixels + mask


def png(img):
    """The image as a PNG file (8-bit RGBA, no filtering)."""
    n = len(img)
    raw = b''.join(b'\0' + bytes(v for p in row for v in p) for row in img)

    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data +
                struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF))
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', n, n, 8, 6, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def write_icon(path, images):
    entries, blobs = b'', b''
    offset = 6 + 16 * len(images)
    for img in images:
        n = len(img)
        blob = png(img) if n >= 256 else dib32(img)
        entries += struct.pack('<BBBBHHII', n % 256, n % 256, 0, 0, 1, 32, len(blob), offset)
        blobs += blob
        offset += len(blob)
    path.write_bytes(struct.pack('<HHH', 0, 1, len(images)) + entries + blobs)


def write_cursor(path, rows, hotspot):
    """A monochrome 32x32 cursor: 'X' white, '.' black, ' ' transparent."""
    n = SIZE
    header = struct.pack('<IiiHHIIiiII', 40, n, n * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = struct.pack('<BBBBBBBB', 0, 0, 0, 0, 255, 255, 255, 0)
    xor_mask, and_mask = b'', b''
    grid = [row.ljust(n) for row in rows] + [' ' * n] * (n - len(rows))
    for row in reversed(grid):
        xor_bits = and_bits = 0
        for x, ch in enumerate(row):
            bit = 1 << (n - 1 - x)
            if ch == 'X':
                xor_bits |= bit
            elif ch == ' ':
                and_bits |= bit
        xor_mask += xor_bits.to_bytes(4, 'big')
        and_mask += and_bits.to_bytes(4, 'big')
    blob = header + palette + xor_mask + and_mask
    entry = struct.pack('<BBBBHHII', n, n, 2, 0, hotspot[0], hotspot[1], len(blob), 22)
    path.write_bytes(struct.pack('<HHH', 0, 2, 1) + entry + blob)


def program_icon():
    """A form sheet: a page with a folded corner, a heading bar and item lines."""
    outline, paper = (64, 64, 72, 255), (255, 255, 255, 255)
    layers = [(rect(5, 2, 27, 30), outline), (rect(6, 3, 26, 29), paper)]
    # The folded corner: cut off above the diagonal, the fold drawn along it.
    layers.append((lambda x, y: x >= 20 and y < 9 and x - 20 > y - 3 + 0.5, (0, 0, 0, 0)))
    layers.append((lambda x, y: 20 <= x < 27 and 2 <= y < 10 and abs((x - 20) - (y - 3)) <= 0.5,
                   outline))
    layers.append((rect(8, 6, 18, 9), (0, 90, 170, 255)))
    for y in (12, 16, 20):
        layers.append((rect(8, y, 19, y + 2), (120, 120, 130, 255)))
        layers.append((rect(20, y, 24, y + 2), (0, 130, 60, 255)))
    layers.append((rect(17, 24, 24, 26), (200, 30, 30, 255)))
    return layers


def help_icon():
    """A blue disc with a white question mark."""
    question = [
        ' XXXX ',
        'XX  XX',
        '    XX',
        '   XX ',
        '  XX  ',
        '  XX  ',
        '      ',
        '  XX  ',
    ]
    return [(circle(16, 16, 15), (20, 70, 160, 255)), (circle(16, 16, 13), (40, 110, 210, 255)),
            (cells(10, 7, question, scale=2), (255, 255, 255, 255))]


HAND = [
    '     ..',
    '    .XX.',
    '    .XX.',
    '    .XX.',
    '    .XX.',
    '    .XX...',
    '    .XX.XX...',
    '    .XX.XX.XX..',
    ' .. .XX.XX.XX.X.',
    '.XX..XXXXXXXX.X.',
    '.XXX.XXXXXXXXXX.',
    ' .XX.XXXXXXXXXX.',
    '  .XXXXXXXXXXXX.',
    '  .XXXXXXXXXXXX.',
    '   .XXXXXXXXXXX.',
    '   .XXXXXXXXXX.',
    '    .XXXXXXXXX.',
    '    .XXXXXXXXX.',
    '     .XXXXXXX.',
    '     .........',
]

if __name__ == '__main__':
    for name, drawing in (('plaxet.ico', program_icon()), ('genhelp.ico', help_icon())):
        write_icon(HERE / name, [render(drawing, n) for n in ICON_SIZES])
    write_cursor(HERE / 'hand.cur', HAND, (5, 0))
