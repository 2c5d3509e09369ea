#!/usr/bin/env python3
"""Draws the toolbar button images of the host (ten groups, three sizes)
and writes them as BMP files beside this script, with the application icon.

Each button is a small drawing on a 16-unit grid, scaled to 32x31, 24x23
and 16x15 pixels. Magenta is the transparent colour (the top-left pixel).
Run it again after changing a drawing; the results are committed."""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
KEY = (255, 0, 255)
INK = (0, 0, 0)
BLUE = (0, 64, 192)
RED = (200, 0, 0)
GREEN = (0, 128, 0)
GREY = (128, 128, 128)
PAPER = (255, 255, 255)
YELLOW = (240, 200, 40)
BROWN = (150, 100, 40)


class Canvas:
    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = [[KEY] * w for _ in range(h)]
        self.s = w / 16.0  # pixels per unit
        self.t = max(1, round(self.s))  # stroke width

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def dot(self, x, y, c, t=None):
        t = t or self.t
        for dy in range(t):
            for dx in range(t):
                self.put(x + dx, y + dy, c)

    def line(self, x0, y0, x1, y1, c=INK, t=None):
        s = self.s
        X0, Y0, X1, Y1 = x0 * s, y0 * s, x1 * s, y1 * s
        n = int(max(abs(X1 - X0), abs(Y1 - Y0))) + 1
        for i in range(n + 1):
            f = i / n
            self.dot(int(X0 + (X1 - X0) * f), int(Y0 + (Y1 - Y0) * f), c, t)

    def poly(self, pts, c=INK, closed=False):
        for a, b in zip(pts, pts[1:] + (pts[:1] if closed else [])):
            self.line(a[0], a[1], b[0], b[1], c)

    def rect(self, x0, y0, x1, y1, c=INK):
        self.poly([(x0, y0), (x1, y0), (x1, y1), (x0, y1)], c, True)

    def fill(self, x0, y0, x1, y1, c):
        s = self.s
        for y in range(int(y0 * s), int(y1 * s)):
            for x in range(int(x0 * s), int(x1 * s)):
                self.put(x, y, c)

    def arc(self, cx, cy, rx, ry, a0, a1, c=INK):
        n = 48
        pts = []
        for i in range(n + 1):
            a = math.radians(a0 + (a1 - a0) * i / n)
            pts.append((cx + rx * math.cos(a), cy - ry * math.sin(a)))
        self.poly(pts, c)

    def circle(self, cx, cy, r, c=INK):
        self.arc(cx, cy, r, r, 0, 360, c)


def page(c):
    c.fill(3, 1, 12, 15, PAPER)
    c.poly([(3, 1), (10, 1), (13, 4), (13, 15), (3, 15)], INK, True)


def letter(c, ch, x, y, col=INK, size=1.0):
    """Block letters on a 4x6 grid."""
    shapes = {
        'A': [[(0, 6), (2, 0), (4, 6)], [(1, 4), (3, 4)]],
        'U': [[(0, 0), (0, 6), (4, 6), (4, 0)]],
        'R': [[(0, 6), (0, 0), (4, 0), (4, 3), (0, 3), (4, 6)]],
        'T': [[(0, 0), (4, 0)], [(2, 0), (2, 6)]],
        '?': [[(0, 1), (1, 0), (3, 0), (4, 1), (4, 2), (2, 3), (2, 4)], [(2, 5.5), (2, 6)]],
    }
    for stroke in shapes[ch]:
        c.poly([(x + px * size * 0.8, y + py * size * 0.8) for px, py in stroke], col)


def arrow(c, x0, y0, x1, y1, col=BLUE):
    c.line(x0, y0, x1, y1, col)
    a = math.atan2(y1 - y0, x1 - x0)
    for d in (2.6, -2.6):
        c.line(x1, y1, x1 - 3 * math.cos(a + d / 3), y1 - 3 * math.sin(a + d / 3), col)


D = {}
D[45100] = lambda c: (page(c), c.line(6, 8, 10, 8, GREEN), c.line(8, 6, 8, 10, GREEN))
D[45101] = lambda c: (c.fill(1, 5, 14, 14, YELLOW), c.rect(1, 5, 14, 14, BROWN),
                      c.poly([(1, 5), (3, 3), (7, 3), (8, 5)], BROWN))
D[45102] = lambda c: (c.fill(2, 2, 14, 14, BLUE), c.fill(5, 2, 11, 7, PAPER),
                      c.fill(5, 10, 11, 14, GREY))
D[45103] = lambda c: (c.fill(1, 3, 11, 14, BLUE), c.fill(3, 3, 9, 7, PAPER),
                      c.line(9, 12, 15, 6, RED), c.line(12, 12, 15, 12, RED))
D[45104] = lambda c: (page(c), letter(c, '?', 6, 5, BLUE))
D[45105] = lambda c: (c.fill(2, 7, 14, 12, GREY), c.rect(2, 7, 14, 12), c.fill(4, 2, 12, 7, PAPER),
                      c.rect(4, 2, 12, 7), c.fill(4, 12, 12, 15, PAPER))
D[45106] = lambda c: (D[45105](c), c.rect(5, 3, 11, 6, RED))
D[45400] = lambda c: (c.circle(8, 8, 5, GREY), c.circle(8, 8, 2, INK),
                      [c.line(8 + 5 * math.cos(a), 8 + 5 * math.sin(a), 8 + 7 * math.cos(a),
                              8 + 7 * math.sin(a), GREY) for a in [i * math.pi / 4 for i in range(8)]])
D[45401] = lambda c: (c.line(8, 1, 8, 15, RED), c.line(1, 8, 15, 8, RED), c.rect(6, 6, 10, 10))
D[45402] = lambda c: (c.circle(8, 8, 6.5, BLUE), letter(c, '?', 6.3, 4.5, BLUE))
D[45901] = lambda c: (c.fill(1, 1, 10, 9, PAPER), c.rect(1, 1, 10, 9), c.fill(4, 4, 13, 12, PAPER),
                      c.rect(4, 4, 13, 12), c.fill(7, 7, 15, 15, PAPER), c.rect(7, 7, 15, 15),
                      c.fill(7, 7, 15, 9, BLUE))
D[45902] = lambda c: (c.rect(1, 2, 15, 14), c.line(1, 8, 15, 8), c.fill(1, 2, 15, 4, BLUE),
                      c.fill(1, 8, 15, 10, BLUE))
D[45903] = lambda c: (c.fill(1, 2, 15, 14, INK), c.rect(3, 4, 13, 12, GREEN), c.rect(5, 6, 9, 10, YELLOW))
D[45905] = lambda c: (c.rect(1, 2, 15, 14), c.line(8, 2, 8, 14), c.fill(1, 2, 15, 4, BLUE))
D[45900] = lambda c: (c.rect(1, 3, 12, 14), c.fill(1, 3, 12, 5, BLUE), c.line(13, 1, 13, 6, GREEN),
                      c.line(10.5, 3.5, 15.5, 3.5, GREEN))
D[45300] = lambda c: (c.fill(1, 3, 15, 13, (160, 200, 255)), c.poly([(1, 13), (6, 6), (9, 10), (11, 8), (15, 13)], GREEN),
                      c.rect(1, 3, 15, 13))
D[45301] = lambda c: (D[45300](c), c.circle(11, 6, 2, RED))
D[45302] = lambda c: (D[45300](c), c.line(2, 2, 14, 14, RED), c.line(14, 2, 2, 14, RED))
D[45200] = lambda c: (arrow(c, 8, 8, 15, 8, INK), arrow(c, 8, 8, 1, 8, INK), c.line(1, 4, 1, 12), c.line(15, 4, 15, 12))
D[45202] = lambda c: (c.line(2, 13, 13, 2, BLUE), c.fill(10, 9, 15, 15, PAPER), c.rect(10, 9, 15, 15), letter(c, 'T', 11, 10, INK, 0.8))
D[45201] = lambda c: (c.fill(2, 4, 14, 13, (200, 230, 200)), c.poly([(2, 13), (5, 4), (14, 6), (12, 13)], GREEN, True))
D[45904] = lambda c: (c.circle(6.5, 6.5, 4.5, BLUE), c.line(10, 10, 15, 15, BROWN))
D[45800] = lambda c: (c.circle(6.5, 6.5, 4.5, INK), c.line(10, 10, 15, 15, INK), c.line(4.5, 6.5, 8.5, 6.5, INK),
                      c.line(6.5, 4.5, 6.5, 8.5, INK))
D[45801] = lambda c: (c.rect(1, 1, 11, 11, RED), c.circle(9, 9, 3.5, INK), c.line(11.5, 11.5, 15, 15))
D[45802] = lambda c: (c.fill(2, 3, 14, 13, PAPER), c.rect(2, 3, 14, 13), arrow(c, 8, 8, 13, 12, BLUE), arrow(c, 8, 8, 3, 4, BLUE))
D[45803] = lambda c: (c.arc(8, 8, 5.5, 5.5, 30, 330, GREEN), arrow(c, 12.5, 11, 13.5, 12.5, GREEN))
D[45804] = lambda c: (arrow(c, 8, 8, 8, 1), arrow(c, 8, 8, 8, 15), arrow(c, 8, 8, 1, 8), arrow(c, 8, 8, 15, 8))
D[45805] = lambda c: [c.dot(int(x * c.s), int(y * c.s), INK, 1) for x in range(2, 15, 3) for y in range(2, 15, 3)]
D[45806] = lambda c: (c.fill(1, 1, 10, 7, (180, 200, 255)), c.rect(1, 1, 10, 7), c.fill(3, 5, 12, 11, (255, 220, 160)),
                      c.rect(3, 5, 12, 11), c.fill(5, 9, 15, 15, (200, 255, 200)), c.rect(5, 9, 15, 15))
D[45719] = lambda c: (c.arc(9, 9, 5, 5, 0, 180, BLUE), arrow(c, 4, 9.5, 4, 12, BLUE), letter(c, 'U', 7, 10, INK, 0.7))
D[45720] = lambda c: (c.arc(7, 9, 5, 5, 0, 180, BLUE), arrow(c, 12, 9.5, 12, 12, BLUE), letter(c, 'R', 4, 10, INK, 0.7))
D[45701] = lambda c: (c.rect(1, 1, 7, 7, GREY), c.rect(8, 8, 14, 14), arrow(c, 5, 5, 11, 11, RED))
D[45700] = lambda c: (c.rect(1, 1, 7, 7), c.rect(8, 8, 14, 14), arrow(c, 5, 5, 11, 11, GREEN))
D[45707] = lambda c: (c.line(1, 8, 9, 8), c.line(9, 8, 15, 8, RED), c.line(15, 4, 15, 12, BLUE))
D[45709] = lambda c: (c.line(1, 8, 5, 8), c.line(11, 8, 15, 8), c.line(5, 8, 11, 8, RED), c.line(5, 5, 5, 11, BLUE), c.line(11, 5, 11, 11, BLUE))
D[45708] = lambda c: (c.line(1, 8, 15, 8), c.line(8, 2, 8, 14, RED), c.line(6, 2, 10, 2, RED))
D[45702] = lambda c: (c.line(8, 1, 8, 15, RED), c.poly([(2, 3), (6, 8), (2, 13)]), c.poly([(14, 3), (10, 8), (14, 13)], GREEN))
D[45703] = lambda c: (c.line(8, 1, 8, 15, RED), c.poly([(2, 3), (6, 8), (2, 13)], GREY), c.poly([(14, 3), (10, 8), (14, 13)]))
D[45705] = lambda c: (c.line(1, 12, 9, 12), c.line(12, 1, 12, 9), c.line(9, 12, 12, 12, RED), c.line(12, 9, 12, 12, RED))
D[45704] = lambda c: (c.line(2, 14, 2, 7), c.arc(8, 7, 6, 6, 90, 180, RED), c.line(8, 1, 14, 1))
D[45716] = lambda c: (c.line(2, 12, 12, 2), c.line(3, 3, 13, 13, RED), c.line(13, 3, 3, 13, RED))
D[45717] = lambda c: (c.rect(1, 1, 15, 15, BLUE), c.line(4, 4, 12, 12, RED), c.line(12, 4, 4, 12, RED))
D[45718] = lambda c: (page(c), c.line(3, 3, 13, 13, RED), c.line(13, 3, 3, 13, RED))
D[45710] = lambda c: (c.circle(5, 5, 3), c.rect(8, 8, 14, 14, BLUE), c.line(2, 14, 6, 10, GREEN))
D[45711] = lambda c: (c.rect(1, 1, 15, 15, GREEN), c.circle(5, 5, 2.5), c.rect(8, 8, 13, 13))
D[45712] = lambda c: (c.rect(1, 1, 15, 15, GREY), c.circle(5, 5, 2.5), c.rect(8, 8, 13, 13), c.line(1, 15, 15, 1, RED))
D[45715] = lambda c: (c.line(1, 14, 9, 6, INK), c.line(9, 6, 14, 1, RED), c.rect(10, 10, 15, 15, BLUE))
D[45706] = lambda c: (c.fill(3, 2, 13, 15, (220, 190, 130)), c.rect(3, 2, 13, 15, BROWN), c.fill(5, 4, 11, 14, PAPER),
                      c.fill(6, 1, 10, 3, GREY))
D[45500] = lambda c: c.line(2, 13, 14, 3)
D[45509] = lambda c: c.poly([(1, 13), (5, 4), (10, 11), (15, 2)])
D[45515] = lambda c: c.poly([(1 + i, 8 + 3 * math.sin(i * 0.9)) for i in range(15)])
D[45501] = lambda c: (c.line(1, 8, 15, 8, RED), c.line(8, 1, 8, 15, RED))
D[45502] = lambda c: (c.line(2, 11, 14, 3), c.line(3, 14, 15, 6))
D[45503] = lambda c: c.rect(2, 3, 14, 13)
D[45504] = lambda c: c.circle(8, 8, 6)
D[45505] = lambda c: c.arc(8, 10, 6, 6, 0, 180)
D[45507] = lambda c: c.arc(8, 8, 7, 4.5, 0, 360)
D[45508] = lambda c: c.arc(8, 10, 7, 5, 0, 180)
D[45506] = lambda c: (c.fill(6.5, 6.5, 9.5, 9.5, INK))
D[45510] = lambda c: c.poly([(1, 12 - 8 * math.sin(t / 14 * math.pi) + 3 * math.sin(t / 3.0)) and (1 + t, 12 - 6 * math.sin(t / 14.0 * math.pi * 1.5)) for t in range(15)])
D[45511] = lambda c: (c.rect(2, 2, 14, 14), [c.line(2 + i, 14, 14, 2 + i, GREY) for i in range(3, 12, 3)],
                      [c.line(2, 14 - i, 14 - i, 2, GREY) for i in range(3, 12, 3)])
D[45906] = lambda c: (c.line(1, 8, 15, 8), [c.line(x, 5, x, 11, RED) for x in (4, 8, 12)])
D[45512] = lambda c: (c.fill(2, 3, 14, 13, BLUE), c.rect(2, 3, 14, 13))
D[45513] = lambda c: letter(c, 'A', 4, 2, INK, 2.0)
D[45514] = lambda c: (c.rect(1, 2, 15, 14, BLUE), letter(c, 'A', 5, 4, INK, 1.4))
D[45713] = lambda c: (letter(c, 'A', 1, 3, INK, 1.4), arrow(c, 7, 8, 10, 8, RED), letter(c, 'T', 11, 3, BLUE, 1.0))
D[45714] = lambda c: (letter(c, 'A', 1, 3, INK, 1.4), letter(c, 'A', 8, 1, RED, 2.0))
D[45600] = lambda c: (c.line(2, 3, 2, 14), c.line(14, 3, 14, 14), arrow(c, 8, 6, 2, 6, BLUE), arrow(c, 8, 6, 14, 6, BLUE))
D[45601] = lambda c: (c.circle(8, 8, 6), arrow(c, 8, 8, 12.5, 3.5, BLUE))
D[45602] = lambda c: (c.line(2, 14, 15, 14), c.line(2, 14, 12, 2), c.arc(2, 14, 8, 8, 0, 50, BLUE))

GROUPS = [
    (259, [45100, 45101, 45102, 45103, 45104, 45105, 45106]),
    (260, [45400, 45401, 45402]),
    (261, [45901, 45902, 45903, 45905, 45900]),
    (262, [45300, 45301, 45302]),
    (263, [45200, 45202, 45201]),
    (264, [45904, 45800, 45801, 45802, 45803, 45804, 45805, 45806]),
    (265, [45719, 45720, 45701, 45700, 45707, 45709, 45708, 45702, 45703, 45705, 45704, 45716,
           45717, 45718, 45710, 45711, 45712, 45715, 45706]),
    (266, [45500, 45509, 45515, 45501, 45502, 45503, 45504, 45505, 45507, 45508, 45506, 45510,
           45511, 45906, 45512]),
    (267, [45513, 45514, 45713, 45714]),
    (268, [45600, 45601, 45602]),
]
SIZES = [(0, 32, 31), (10, 24, 23), (20, 16, 15)]  # resource offset, width, height


def strip(ids, w, h):
    rows = [[KEY] * (w * len(ids)) for _ in range(h)]
    for i, bid in enumerate(ids):
        c = Canvas(w, h)
        D[bid](c)
        c.px[0][0] = KEY  # the transparent colour stays at the top left
        for y in range(h):
            rows[y][i * w:(i + 1) * w] = c.px[y]
    return rows


def write_bmp24(path, rows):
    h, w = len(rows), len(rows[0])
    stride = (w * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b'\0' * (stride - len(line))
        data += line
    head = struct.pack('<2sIHHI', b'BM', 54 + len(data), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    open(path, 'wb').write(head + info + data)


def write_bmp8(path, rows):
    h, w = len(rows), len(rows[0])
    palette = []
    for row in rows:
        for c in row:
            if c not in palette:
                palette.append(c)
    assert len(palette) <= 256
    index = {c: i for i, c in enumerate(palette)}
    stride = (w + 3) & ~3
    data = bytearray()
    for row in reversed(rows):
        line = bytearray(index[c] for c in row)
        line += b'\0' * (stride - len(line))
        data += line
    pal = b''.join(bytes((b, g, r, 0)) for r, g, b in palette) + b'\0' * 4 * (256 - len(palette))
    off = 54 + 1024
    head = struct.pack('<2sIHHI', b'BM', off + len(data), 0, 0, off)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 8, 0, len(data), 2835, 2835, 256, 0)
    open(path, 'wb').write(head + info + pal + data)


def write_toolbar_rc(path):
    """Toolbar resources (type 241): WORD version 1, width, height, count,
    then the button ids, 0 for a separator."""
    lines = ['// Generated by make_toolbar_bitmaps.py: toolbar resources and their bitmaps.', '']
    for base, ids in GROUPS:
        for off, w, h in SIZES:
            res = base + off
            items = []
            for i, bid in enumerate(ids):
                items.append(bid)
                # Only the medium file toolbar has separators.
                if res == 269 and i in (2, 4, 5):
                    items.append(0)
            data = struct.pack('<4H', 1, w, h, len(items)) + struct.pack('<%dH' % len(items), *items)
            open(os.path.join(HERE, 'tb%d.tbr' % res), 'wb').write(data)
            lines.append('%d 241 "tb%d.tbr"' % (res, res))
            lines.append('%d BITMAP "tb%d.bmp"' % (res, res))
    lines.append('')
    open(path, 'w').write('\n'.join(lines))


def write_icon(path):
    size = 32
    c = Canvas(size, size)
    c.fill(0, 0, 16, 16, (0, 80, 160))
    c.rect(0.5, 0.5, 15.5, 15.5, (0, 40, 90))
    c.fill(2, 3, 14, 13, PAPER)
    c.line(3, 11, 13, 5, RED)
    c.circle(8, 8, 3, BLUE)
    c.line(3, 11, 3, 5, INK)
    pixels = bytearray()
    for row in reversed(c.px):
        for r, g, b in row:
            pixels += bytes((b, g, r, 255))
    mask = b'\0' * (size * size // 8)
    info = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    img = info + pixels + mask
    head = struct.pack('<HHH', 0, 1, 1) + struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(img), 22)
    open(path, 'wb').write(head + img)


if __name__ == '__main__':
    for base, ids in GROUPS:
        for off, w, h in SIZES:
            res = base + off
            rows = strip(ids, w, h)
            if res in (280, 288):
                write_bmp8(os.path.join(HERE, 'tb%d.bmp' % res), rows)
            else:
                write_bmp24(os.path.join(HERE, 'tb%d.bmp' % res), rows)
    write_toolbar_rc(os.path.join(HERE, 'toolbars.rc'))
    write_icon(os.path.join(HERE, 'ZavIrurer.ico'))
