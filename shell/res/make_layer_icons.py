#!/usr/bin/env python3
"""Writes the state pictures of the page and layer dialogs:
- page_state0.ico, page_state1.ico, page_state2.ico beside this script
  (26 x 18: hidden, display only, display and detect);
- data/dist/Images/LayIcon/000.bmp-029.bmp (42 x 18, white is transparent),
  the rows of the layer manager's tree, and S000.bmp-S007.bmp (16 x 18), its
  legend.
Run it again after changing a picture; the results are committed."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
LAYICON = os.path.join(HERE, '..', '..', 'data', 'dist', 'Images', 'LayIcon')
H = 18
WHITE = (255, 255, 255)
GREEN = (0, 170, 0)
BLUE = (0, 90, 220)
GREY = (150, 150, 150)
BLACK = (0, 0, 0)
RED = (220, 0, 0)
LOCK = (170, 110, 0)


def canvas(w):
    return [[WHITE] * w for _ in range(H)]


def rect(img, x0, y0, x1, y1, colour, fill=True):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            if fill or y in (y0, y1) or x in (x0, x1):
                img[y][x] = colour


def state_box(img, x, state):
    """state 0 hidden, 1 display only, 2 display and detect, 3 mixed."""
    if state == 0:
        rect(img, x, 4, x + 10, 14, GREY, fill=False)
    elif state == 1:
        rect(img, x, 4, x + 10, 14, BLUE, fill=False)
        rect(img, x + 3, 7, x + 7, 11, BLUE)
    elif state == 2:
        rect(img, x, 4, x + 10, 14, GREEN)
    else:
        rect(img, x, 4, x + 10, 14, GREEN, fill=False)
        rect(img, x, 9, x + 10, 14, GREEN)


def use_mark(img, x, use):
    if use == 1:
        rect(img, x + 4, 7, x + 8, 11, BLACK)
    elif use == 2:
        for i in range(6):
            rect(img, x + 3 + i, 4 + i, x + 3 + i, 14 - i, RED)


def lock_mark(img, x):
    rect(img, x + 2, 8, x + 10, 14, LOCK)
    rect(img, x + 4, 4, x + 8, 8, LOCK, fill=False)


def write_bmp(path, img):
    w = len(img[0])
    row = (w * 3 + 3) & ~3
    data = b''
    for y in range(H - 1, -1, -1):
        line = b''.join(bytes((b, g, r)) for (r, g, b) in img[y])
        data += line + b'\0' * (row - len(line))
    header = struct.pack('<2sIHHI', b'BM', 54 + len(data), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, w, H, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, 'wb') as f:
        f.write(header + info + data)


def write_ico(path, img):
    w = len(img[0])
    xor = b''
    for y in range(H - 1, -1, -1):
        for (r, g, b) in img[y]:
            alpha = 0 if (r, g, b) == WHITE else 255
            xor += bytes((b, g, r, alpha))
    mask_row = ((w + 31) // 32) * 4
    mask = b''
    for y in range(H - 1, -1, -1):
        bits = 0
        line = bytearray(mask_row)
        for x in range(w):
            if img[y][x] == WHITE:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(line)
    dib = struct.pack('<IiiHHIIiiII', 40, w, H * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0) + xor + mask
    head = struct.pack('<HHH', 0, 1, 1) + struct.pack('<BBBBHHII', w, H, 0, 0, 1, 32, len(dib), 22)
    with open(path, 'wb') as f:
        f.write(head + dib)


def main():
    os.makedirs(LAYICON, exist_ok=True)
    for state in range(3):
        img = canvas(26)
        state_box(img, 8, state)
        write_ico(os.path.join(HERE, 'page_state%d.ico' % state), img)
    pictures = []
    for state in range(4):  # 0-3 pages
        img = canvas(42)
        state_box(img, 8, state)
        pictures.append(img)
    for lock in (0, 1):  # 4-21 layers
        for state in range(3):
            for use in range(3):
                img = canvas(42)
                use_mark(img, 0, use)
                state_box(img, 16, state)
                if lock:
                    lock_mark(img, 29)
                pictures.append(img)
    for lock in (0, 1):  # 22-29 groups
        for state in range(4):
            img = canvas(42)
            state_box(img, 1, state)
            if lock:
                lock_mark(img, 17)
            pictures.append(img)
    for i, img in enumerate(pictures):
        write_bmp(os.path.join(LAYICON, '%03d.bmp' % i), img)
    legend = [('state', 2), ('state', 1), ('use', 2), ('use', 1), ('lock', 1), ('lock', 0), ('use', 0), ('state', 0)]
    for i, (kind, value) in enumerate(legend):
        img = canvas(16)
        if kind == 'state':
            state_box(img, 2, value)
        elif kind == 'use':
            if value == 0:
                rect(img, 5, 7, 9, 11, GREY, fill=False)
            use_mark(img, 1, value)
        elif value:
            lock_mark(img, 1)
        else:
            rect(img, 3, 8, 11, 14, GREY, fill=False)
        write_bmp(os.path.join(LAYICON, 'S%03d.bmp' % i), img)


main()
