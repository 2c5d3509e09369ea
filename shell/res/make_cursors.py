#!/usr/bin/env python3
"""Writes the two cursors of the drawing views beside this script:
cursor1.cur, a thin crosshair drawn inverted so that it shows on black and
white drawing backgrounds alike, hot spot at its centre; curnul.cur, an
empty cursor for the moments the views draw their own marker.
Run it again after changing a drawing; the results are committed."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
SIZE = 32
HOT = 15


def cursor(pixels, path):
    """pixels: set of (x, y) drawn inverted; everything else transparent."""
    xor_rows, and_rows = [], []
    for y in range(SIZE - 1, -1, -1):  # bottom-up rows
        xor_bits = and_bits = 0
        for x in range(SIZE):
            bit = 1 << (SIZE - 1 - x)
            and_bits |= bit  # AND 1: keep the screen
            if (x, y) in pixels:
                xor_bits |= bit  # AND 1, XOR 1: invert the screen
        xor_rows.append(struct.pack('>I', xor_bits))
        and_rows.append(struct.pack('>I', and_bits))
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = struct.pack('<II', 0x000000, 0xFFFFFF)
    image = header + palette + b''.join(xor_rows) + b''.join(and_rows)
    directory = struct.pack('<HHH', 0, 2, 1)
    entry = struct.pack('<BBBBHHII', SIZE, SIZE, 2, 0, HOT, HOT, len(image), 6 + 16)
    with open(os.path.join(HERE, path), 'wb') as f:
        f.write(directory + entry + image)


cross = set()
for i in range(SIZE - 1):
    if abs(i - HOT) > 1:  # a small gap shows the point itself
        cross.add((i, HOT))
        cross.add((HOT, i))
cross.add((HOT, HOT))
cursor(cross, 'cursor1.cur')
cursor(set(), 'curnul.cur')
