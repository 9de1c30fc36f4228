#!/usr/bin/env python3
"""Writes HANDEX.cur, the 32x32 pointing hand the picture tool shows while
the user points at a window to capture: white inside a black outline, the
hot spot at the tip of the index finger.  Run it to regenerate the file; the
file is committed."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
SIZE = 32
HOT_SPOT = (14, 1)

PARTS = [  # x0, y0, x1, y1 inclusive
    (12, 1, 16, 14),   # index finger
    (16, 10, 25, 16),  # the folded fingers
    (8, 15, 25, 27),   # palm
    (5, 15, 9, 22),    # thumb
]


def inside(x, y):
    return any(x0 <= x <= x1 and y0 <= y <= y1 for x0, y0, x1, y1 in PARTS)


def edge(x, y):
    return inside(x, y) and not all(inside(x + dx, y + dy) for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))


def mask_rows(bit):
    rows = bytearray()
    for y in range(SIZE - 1, -1, -1):
        value = 0
        for x in range(SIZE):
            value = (value << 1) | bit(x, y)
        rows += value.to_bytes(SIZE // 8, "big")
    return rows


def main():
    # XOR bit 1 (white) for the inside, AND bit 1 (transparent) outside.
    xor = mask_rows(lambda x, y: 1 if inside(x, y) and not edge(x, y) else 0)
    and_ = mask_rows(lambda x, y: 0 if inside(x, y) else 1)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 1, 0, len(xor) + len(and_), 0, 0, 2, 0)
    image = info + palette + xor + and_
    header = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 2, 0, HOT_SPOT[0], HOT_SPOT[1], len(image), 6 + 16)
    with open(os.path.join(HERE, "HANDEX.cur"), "wb") as f:
        f.write(header + entry + image)


if __name__ == "__main__":
    main()
