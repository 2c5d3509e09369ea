#!/usr/bin/env python3
# Writes the two 16 x 16 pin icons of the docking captions (run in this folder).
import struct, sys
# 16x16 pin pictures: '#' outline, 'o' head (light), 'x' needle (dark grey), '.' transparent.
DOCKED = [  # upright pin: the pane stays where it is docked
"................",
"....########....",
"....#oooo#o#....",
"....#oooo#o#....",
"....#oooo#o#....",
"....#oooo#o#....",
"....#oooo#o#....",
"....#oooo#o#....",
"..############..",
"..############..",
".......xx.......",
".......xx.......",
".......xx.......",
".......xx.......",
"................",
"................",
]
AUTOHIDE = ["".join(DOCKED[15 - c][r] for c in range(16)) for r in range(16)]  # the same pin turned on its side
COL = {'#': (0,0,0,255), 'o': (255,255,255,255), 'x': (64,64,64,255), '.': (0,0,0,0)}

def ico(rows, path):
    w = h = 16
    px = b''
    for row in reversed(rows):
        for ch in row:
            r,g,b,a = COL[ch]
            px += bytes((b,g,r,a))
    mask = b''
    for row in reversed(rows):
        bits = 0
        for i,ch in enumerate(row):
            if ch == '.': bits |= 1 << (15 - i)
        mask += struct.pack('>H', bits) + b'\0\0'  # rows padded to 32 bits
    bih = struct.pack('<IiiHHIIiiII', 40, w, h*2, 1, 32, 0, len(px)+len(mask), 0, 0, 0, 0)
    data = bih + px + mask
    hdr = struct.pack('<HHH', 0, 1, 1) + struct.pack('<BBBBHHII', w, h, 0, 0, 1, 32, len(data), 22)
    open(path, 'wb').write(hdr + data)
ico(DOCKED, 'pin_docked.ico')
ico(AUTOHIDE, 'pin_auto_hide.ico')
