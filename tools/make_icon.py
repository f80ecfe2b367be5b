#!/usr/bin/env python3
"""Draws the program's icon, a 32 x 32 image in the 16 standard colours:
a sheet of paper with lines of text and a magnifying glass.

usage: make_icon.py app/res/quolvi.ico
"""
import struct
import sys

PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
    (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, NAVY, TEAL, SILVER, GRAY, RED, BLUE, WHITE, YELLOW = 0, 4, 6, 7, 8, 9, 12, 15, 11
SIZE = 32


def draw():
    pixels = [[None] * SIZE for _ in range(SIZE)]  # None: transparent

    def put(x, y, c):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            pixels[y][x] = c

    # The sheet, with a folded corner at the top right.
    for y in range(2, 30):
        for x in range(5, 25):
            if x - 17 > y - 2:  # cut corner
                continue
            edge = x in (5, 24) or y in (2, 29) or x - 17 == y - 2
            put(x, y, BLACK if edge else WHITE)
    for i in range(8):
        for j in range(i + 1):
            put(17 + j, 2 + i, SILVER if j < i else BLACK)
    # Lines of text.
    for y in (8, 11, 14, 17, 20):
        for x in range(8, 22 if y != 20 else 16):
            put(x, y, NAVY if (x + y) % 5 else BLUE)
    # The magnifying glass.
    cx, cy, r = 20, 20, 5
    for y in range(SIZE):
        for x in range(SIZE):
            d = (x - cx) ** 2 + (y - cy) ** 2
            if (r - 1) ** 2 < d <= (r + 1) ** 2:
                put(x, y, RED)
            elif d <= (r - 1) ** 2:
                put(x, y, YELLOW if (x - cx) + (y - cy) < -2 else TEAL)
    for i in range(6):
        for w in range(2):
            put(cx + 4 + i + w, cy + 4 + i, GRAY if w else BLACK)
    return pixels


def ico(pixels):
    xor_rows, and_rows = [], []
    for y in reversed(range(SIZE)):  # bottom-up
        row = pixels[y]
        xor = bytearray()
        for x in range(0, SIZE, 2):
            hi = row[x] if row[x] is not None else 0
            lo = row[x + 1] if row[x + 1] is not None else 0
            xor.append((hi << 4) | lo)
        xor_rows.append(bytes(xor))
        bits = 0
        for x in range(SIZE):
            bits = (bits << 1) | (1 if row[x] is None else 0)
        and_rows.append(struct.pack(">I", bits))
    palette = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in PALETTE)
    image = (struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, 0, 0, 0, 16, 0)
             + palette + b"".join(xor_rows) + b"".join(and_rows))
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return header + entry + image


if __name__ == "__main__":
    with open(sys.argv[1], "wb") as f:
        f.write(ico(draw()))
