#!/usr/bin/env python3
"""Writes the small images the programs carry as resources: program.ico
(32x32 and 16x16, 32-bit) and miniled.bmp (the mini-LED strip: off, green,
red, yellow, 8x8 each).  Run it to regenerate them; the files are committed."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def disc_pixels(size):
    """A blue disc with a light ring and a dark hole, BGRA rows bottom-up."""
    rows = []
    c = (size - 1) / 2.0
    for y in range(size - 1, -1, -1):
        row = bytearray()
        for x in range(size):
            d = ((x - c) ** 2 + (y - c) ** 2) ** 0.5 / (size / 2.0)
            if d > 0.97:
                row += bytes((0, 0, 0, 0))
            elif d > 0.86:
                row += bytes((0xE0, 0xC8, 0xA0, 0xFF))
            elif d > 0.22:
                shade = int(0xB0 - 0x50 * d)
                row += bytes((shade + 0x40, shade, 0x20, 0xFF))
            else:
                row += bytes((0x30, 0x20, 0x10, 0xFF))
        rows.append(bytes(row))
    return b"".join(rows)


def icon_image(size):
    pixels = disc_pixels(size)
    mask_row = ((size + 31) // 32) * 4
    mask = bytes(mask_row * size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         len(pixels) + len(mask), 0, 0, 0, 0)
    return header + pixels + mask


def write_icon(path):
    images = [icon_image(32), icon_image(16)]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip((32, 16), images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    with open(path, "wb") as f:
        f.write(out)


def write_miniled(path):
    colours = [(0x40, 0x40, 0x40), (0x20, 0xD0, 0x20), (0x20, 0x20, 0xE0), (0x20, 0xD0, 0xE0)]
    width, height = 8 * len(colours), 8
    row_size = (width * 3 + 3) & ~3
    pixels = bytearray()
    for y in range(height):
        row = bytearray()
        for x in range(width):
            b, g, r = colours[x // 8]
            inside = 1 <= x % 8 <= 6 and 1 <= y <= 6
            row += bytes((b, g, r)) if inside else bytes((0xFF, 0x00, 0xFF))
        row += bytes(row_size - len(row))
        pixels += row
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + pixels)


if __name__ == "__main__":
    write_icon(os.path.join(HERE, "program.ico"))
    write_miniled(os.path.join(HERE, "miniled.bmp"))
