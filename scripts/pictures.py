#!/usr/bin/env python3
"""Writes the pictures (16 colours) into resources/: the outline's five
(14 x 14) and the spin glyphs (9 x 6), these also drawn for screens of two
device pixels per pixel ("@2x", 18 x 12), with slopes that step by device
pixels.

Each picture is a table of characters, one per pixel; the background ('.'
for the outline, 'o' for the glyphs) is also the bottom-left pixel and so
the colour left out when drawn. Run it again after changing a table.
"""
import os
import struct

# The standard 16-colour palette as (blue, green, red).
PALETTE = [
    (0x00, 0x00, 0x00), (0x00, 0x00, 0x80), (0x00, 0x80, 0x00), (0x00, 0x80, 0x80),
    (0x80, 0x00, 0x00), (0x80, 0x00, 0x80), (0x80, 0x80, 0x00), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0x00, 0x00, 0xFF), (0x00, 0xFF, 0x00), (0x00, 0xFF, 0xFF),
    (0xFF, 0x00, 0x00), (0xFF, 0x00, 0xFF), (0xFF, 0xFF, 0x00), (0xFF, 0xFF, 0xFF),
]
# '.' teal background, 'k' black, 'o' olive, 's' silver, 'g' grey, 'y' yellow,
# 'w' white.
INDEX = {'.': 6, 'k': 0, 'o': 3, 's': 7, 'g': 8, 'y': 11, 'w': 15}

PICTURES = {
    'PLUS': [
        '..............',
        '..............',
        '.ggggggggg....',
        '.gwwwwwwwg....',
        '.gwwwkwwwg....',
        '.gwwwkwwwg....',
        '.gwkkkkkwg....',
        '.gwwwkwwwg....',
        '.gwwwkwwwg....',
        '.gwwwwwwwg....',
        '.ggggggggg....',
        '..............',
        '..............',
        '..............',
    ],
    'MINUS': [
        '..............',
        '..............',
        '.ggggggggg....',
        '.gwwwwwwwg....',
        '.gwwwwwwwg....',
        '.gwwwwwwwg....',
        '.gwkkkkkwg....',
        '.gwwwwwwwg....',
        '.gwwwwwwwg....',
        '.gwwwwwwwg....',
        '.ggggggggg....',
        '..............',
        '..............',
        '..............',
    ],
    'OPEN': [
        '..............',
        '..............',
        '.ooo..........',
        'oyyyooooo.....',
        'oyyyyyyyo.....',
        'oyyoooooooo...',
        'oyoyyyyyyyo...',
        'oyoyyyyyyo....',
        'ooyyyyyyyo....',
        'ooyyyyyyo.....',
        'ooooooooo.....',
        '..............',
        '..............',
        '..............',
    ],
    'CLOSED': [
        '..............',
        '..............',
        '.ooo..........',
        'oyyyoooooo....',
        'oyyyyyyyyyo...',
        'oyyyyyyyyyo...',
        'oyyyyyyyyyo...',
        'oyyyyyyyyyo...',
        'oyyyyyyyyyo...',
        'oyyyyyyyyyo...',
        'ooooooooooo...',
        '..............',
        '..............',
        '..............',
    ],
    'LEAF': [
        '..............',
        '.ggggg........',
        '.gwwwgg.......',
        '.gwwwgwg......',
        '.gwwwgggg.....',
        '.gwwwwwwg.....',
        '.gwsssswg.....',
        '.gwwwwwwg.....',
        '.gwsssswg.....',
        '.gwwwwwwg.....',
        '.gwssswwg.....',
        '.gggggggg.....',
        '..............',
        '..............',
    ],
}


def spin_up_2x():
    rows = ['o' * 18] * 2
    for r in range(2, 10):
        half = max(r - 2, 1)  # a flat top of two, then one more on each side a row
        rows.append('o' * (9 - half) + 'k' * (2 * half) + 'o' * (9 - half))
    return rows + ['o' * 18] * 2


PICTURES['SpinUp'] = [
    'ooooooooo',
    'ooookoooo',
    'oookkkooo',
    'ookkkkkoo',
    'okkkkkkko',
    'ooooooooo',
]
PICTURES['SpinDown'] = PICTURES['SpinUp'][::-1]
PICTURES['SpinUp@2x'] = spin_up_2x()
PICTURES['SpinDown@2x'] = spin_up_2x()[::-1]


def bmp(rows):
    width, height = len(rows[0]), len(rows)
    assert all(len(r) == width for r in rows)
    stride = ((width * 4 + 31) // 32) * 4
    pixels = bytearray()
    for row in reversed(rows):  # bottom-up
        line = bytearray()
        for x in range(0, width, 2):
            hi = INDEX[row[x]]
            lo = INDEX[row[x + 1]] if x + 1 < width else 0
            line.append(hi << 4 | lo)
        line += bytes(stride - len(line))
        pixels += line
    palette = b''.join(bytes((b, g, r, 0)) for b, g, r in PALETTE)
    offset = 14 + 40 + len(palette)
    header = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 4, 0, len(pixels), 3780, 3780, 16, 16)
    return header + info + palette + bytes(pixels)


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'resources')
    for name, rows in PICTURES.items():
        with open(os.path.join(out, name + '.bmp'), 'wb') as f:
            f.write(bmp(rows))


if __name__ == '__main__':
    main()
