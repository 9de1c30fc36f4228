#!/usr/bin/env python3
"""Writes the colour picker's images (24-bit BMP): COLOR, the colour field
(hue from left to right, from white at the top through the full colour in
the middle row to black at the bottom), and CIRCLE, the pipette's shape
(magenta outside the circle).  Run it to regenerate them; the files are
committed."""
import colorsys
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
FIELD_WIDTH, FIELD_HEIGHT = 180, 101
CIRCLE_SIZE = 17


def write_bmp(name, width, height, pixel):
    row_bytes = (width * 3 + 3) & ~3
    pixels = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        pixels += row + bytes(row_bytes - len(row))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(os.path.join(HERE, name + ".bmp"), "wb") as f:
        f.write(header + info + pixels)


def field(x, y):
    hue = x / float(FIELD_WIDTH)
    r, g, b = (round(c * 255) for c in colorsys.hsv_to_rgb(hue, 1.0, 1.0))
    middle = FIELD_HEIGHT // 2
    if y <= middle:  # white to the full colour
        t = y / float(middle)
        return tuple(round(255 + (c - 255) * t) for c in (r, g, b))
    t = (y - middle) / float(FIELD_HEIGHT - 1 - middle)  # the full colour to black
    return tuple(round(c * (1 - t)) for c in (r, g, b))


def circle(x, y):
    centre = (CIRCLE_SIZE - 1) / 2.0
    inside = (x - centre) ** 2 + (y - centre) ** 2 <= (CIRCLE_SIZE / 2.0) ** 2
    return (0, 0, 0) if inside else (255, 0, 255)


write_bmp("COLOR", FIELD_WIDTH, FIELD_HEIGHT, field)
write_bmp("CIRCLE", CIRCLE_SIZE, CIRCLE_SIZE, circle)
