#!/usr/bin/env python3
"""Writes the six 20x20 drawing-tool button images of the picture tool
(24-bit BMP): text, ellipse, rectangle, curve, arrow, polyline.  Run it to
regenerate them; the files are committed."""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
SIZE = 20


def write_bmp(name, inside):
    row_bytes = (SIZE * 3 + 3) & ~3
    pixels = bytearray()
    for y in range(SIZE - 1, -1, -1):
        row = bytearray()
        for x in range(SIZE):
            row += bytes((0x20, 0x20, 0x20)) if inside(x, y) else bytes((0xE0, 0xE0, 0xE0))
        pixels += row + bytes(row_bytes - len(row))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(os.path.join(HERE, name + ".bmp"), "wb") as f:
        f.write(header + info + pixels)


def near_segment(x, y, a, b):
    (ax, ay), (bx, by) = a, b
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / float(dx * dx + dy * dy)))
    return math.hypot(x - (ax + t * dx), y - (ay + t * dy)) < 0.8


def polyline(points):
    return lambda x, y: any(near_segment(x, y, points[i], points[i + 1]) for i in range(len(points) - 1))


write_bmp("TOOLTXT", polyline([(5, 4), (15, 4), (10, 4), (10, 16)]))
write_bmp("ELLIPSE", lambda x, y: abs(((x - 9.5) / 7.5) ** 2 + ((y - 9.5) / 5.5) ** 2 - 1) < 0.22)
write_bmp("RECT", polyline([(3, 5), (16, 5), (16, 14), (3, 14), (3, 5)]))
write_bmp("CURVE", lambda x, y: abs(y - (10 + 5 * math.sin((x - 3) / 14.0 * 2 * math.pi))) < 1 and 3 <= x <= 17)
write_bmp("ARROW", polyline([(3, 16), (16, 3), (10, 4), (16, 3), (15, 9)]))
write_bmp("POLYLINE", polyline([(3, 15), (7, 5), (12, 13), (16, 4)]))
