#!/usr/bin/env python3
"""Draws the face images of the command-panel buttons and writes them as
24-bit BMP files into dist/Images/Button1.

Ten styles (colours), four images each: NN1 left part of the normal face,
NN2 left part of the marked face, NN3 right end of the normal face, NN4
right end of the marked face. A button shows the left image at its left
edge and the right image at its right edge, so each image is the rounded
end of the face plus a stretch of plain body. White is transparent (the
corners). Three sizes: 76x32 (plain names), 64x19 ("_m") and 59x17 ("_s").
Run it again after changing a colour; the results are committed."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "dist", "Images", "Button1")
WHITE = (255, 255, 255)

# (top, bottom) of the body gradient per style, RGB.
STYLES = [
    ((236, 240, 246), (190, 200, 214)),  # 0 grey-blue
    ((214, 230, 255), (120, 160, 230)),  # 1 blue
    ((214, 244, 214), (120, 196, 120)),  # 2 green
    ((255, 234, 204), (240, 170, 90)),   # 3 orange
    ((255, 214, 214), (224, 120, 120)),  # 4 red
    ((234, 220, 250), (170, 140, 220)),  # 5 purple
    ((208, 244, 240), (100, 190, 184)),  # 6 teal
    ((252, 248, 200), (226, 208, 90)),   # 7 yellow
    ((255, 222, 240), (230, 140, 190)),  # 8 pink
    ((240, 226, 208), (190, 150, 110)),  # 9 brown
]
MARKED = ((255, 246, 170), (255, 190, 40))
BORDER = (96, 104, 120)
MARKED_BORDER = (200, 120, 0)
SIZES = [("", 76, 32), ("_m", 64, 19), ("_s", 59, 17)]


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def inside(x, y, w, h, r, left_end):
    # The rounded end is on the left (left_end) or on the right.
    cx = r if left_end else w - 1 - r
    if (left_end and x >= r) or (not left_end and x <= w - 1 - r):
        return True
    for cy in (r, h - 1 - r):
        if (y < r and cy == r) or (y > h - 1 - r and cy == h - 1 - r):
            return (x - cx) ** 2 + (y - cy) ** 2 <= r * r + r * 0.8
    return True


def face(w, h, colours, border, left_end):
    r = max(3, h // 5)
    px = [[WHITE] * w for _ in range(h)]
    for y in range(h):
        t = y / max(1, h - 1)
        body = mix(colours[0], colours[1], t)
        if y < h // 2:
            body = mix(body, WHITE, 0.25)  # a lighter upper half: a soft sheen
        for x in range(w):
            if not inside(x, y, w, h, r, left_end):
                continue
            edge = not (inside(x - 1, y, w, h, r, left_end) and inside(x + 1, y, w, h, r, left_end)) \
                or y == 0 or y == h - 1 \
                or (left_end and x == 0) or (not left_end and x == w - 1)
            colour = border if edge and (0 < x < w - 1 or (left_end and x == 0) or (not left_end and x == w - 1)) \
                else body
            if edge and (y == 0 or y == h - 1):
                colour = border
            px[y][x] = colour if colour != WHITE else (254, 254, 254)
    return px


def write_bmp(path, px):
    h, w = len(px), len(px[0])
    stride = (w * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(px):
        line = bytearray()
        for (r, g, b) in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        data += line
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def main():
    os.makedirs(OUT, exist_ok=True)
    for index, colours in enumerate(STYLES):
        for suffix, w, h in SIZES:
            images = [face(w, h, colours, BORDER, True), face(w, h, MARKED, MARKED_BORDER, True),
                      face(w, h, colours, BORDER, False), face(w, h, MARKED, MARKED_BORDER, False)]
            for number, px in enumerate(images, 1):
                write_bmp(os.path.join(OUT, "%02d%d%s.bmp" % (index, number, suffix)), px)


if __name__ == "__main__":
    main()
