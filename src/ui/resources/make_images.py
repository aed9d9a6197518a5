#!/usr/bin/env python3
"""Draws the program's icons and its hand cursor and writes them as .ico and
.cur files beside this script. Run it again after changing a drawing; the
files it writes are kept in the repository so the build needs no Python."""
import math
import struct
from pathlib import Path

HERE = Path(__file__).resolve().parent
SIZE = 32


def blank():
    return [[(0, 0, 0, 0)] * SIZE for _ in range(SIZE)]


def fill(img, x0, y0, x1, y1, colour):
    for y in range(max(y0, 0), min(y1, SIZE)):
        for x in range(max(x0, 0), min(x1, SIZE)):
            img[y][x] = colour


def disc(img, cx, cy, r, colour):
    for y in range(SIZE):
        for x in range(SIZE):
            if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                img[y][x] = colour


def stamp(img, x0, y0, rows, colour, scale=1):
    for j, row in enumerate(rows):
        for i, ch in enumerate(row):
            if ch != ' ':
                fill(img, x0 + i * scale, y0 + j * scale, x0 + (i + 1) * scale,
                     y0 + (j + 1) * scale, colour)


def half(img):
    """The 16x16 version: each pixel the average of a 2x2 block."""
    out = []
    for y in range(0, SIZE, 2):
        row = []
        for x in range(0, SIZE, 2):
            block = [img[y][x], img[y][x + 1], img[y + 1][x], img[y + 1][x + 1]]
            a = sum(p[3] for p in block)
            if a == 0:
                row.append((0, 0, 0, 0))
                continue
            rgb = [sum(p[k] * p[3] for p in block) // a for k in range(3)]
            row.append((rgb[0], rgb[1], rgb[2], a // 4))
        out.append(row)
    return out


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


def write_icon(path, images):
    entries, blobs = b'', b''
    offset = 6 + 16 * len(images)
    for img in images:
        blob = dib32(img)
        n = len(img)
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
    img = blank()
    outline, paper = (64, 64, 72, 255), (255, 255, 255, 255)
    fill(img, 5, 2, 27, 30, outline)
    fill(img, 6, 3, 26, 29, paper)
    for i in range(6):  # the folded corner
        fill(img, 20 + i, 3, 26, 3 + i - 0, (0, 0, 0, 0))
        fill(img, 20 + i, 3 + i, 21 + i, 4 + i, outline)
    fill(img, 8, 6, 18, 9, (0, 90, 170, 255))
    for y in (12, 16, 20):
        fill(img, 8, y, 19, y + 2, (120, 120, 130, 255))
        fill(img, 20, y, 24, y + 2, (0, 130, 60, 255))
    fill(img, 17, 24, 24, 26, (200, 30, 30, 255))
    return img


def help_icon():
    """A blue disc with a white question mark."""
    img = blank()
    disc(img, 16, 16, 15, (20, 70, 160, 255))
    disc(img, 16, 16, 13, (40, 110, 210, 255))
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
    stamp(img, 10, 7, question, (255, 255, 255, 255), scale=2)
    return img


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
    icon = program_icon()
    write_icon(HERE / 'plaxet.ico', [icon, half(icon)])
    helpi = help_icon()
    write_icon(HERE / 'genhelp.ico', [helpi, half(helpi)])
    write_cursor(HERE / 'hand.cur', HAND, (5, 0))
