#!/usr/bin/env python3
"""Writes the disc burner's medium pictures (burner/*.bmp, 64x64, 24-bit): a
disc in the colour of its medium kind with the kind's short mark, and the
erase animation CDANIM (eight 64x64 frames side by side, a dark sector
sweeping round the disc).  Run it to regenerate them; the files are
committed."""
import math
import os
import struct

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "burner")
SIZE = 64
BACK = (0xF0, 0xF0, 0xF0)

# name -> disc colour (R, G, B); "unknown" is a grey outline only.
KINDS = {
    "cdrom": (0xC0, 0xC0, 0xC8),
    "cdr": (0xE8, 0xC0, 0x40),
    "cdrw": (0x60, 0xA0, 0xE0),
    "dvdrom": (0xA8, 0xA8, 0xB8),
    "dvdr": (0xD0, 0x70, 0x30),
    "dvdram": (0x70, 0xC0, 0x70),
    "dvdrw": (0x90, 0x60, 0xD0),
    "cdaudio": (0xE0, 0x60, 0x80),
    "unknown": None,
}


def disc(colour, x, y, sweep=None):
    c = (SIZE - 1) / 2.0
    d = math.hypot(x - c, y - c) / (SIZE / 2.0)
    if d > 0.95:
        return BACK
    if colour is None:
        return (0x80, 0x80, 0x80) if d > 0.88 else BACK
    if d < 0.16:
        return BACK
    if d < 0.26:
        return (0x50, 0x50, 0x50)
    if sweep is not None:
        angle = (math.degrees(math.atan2(y - c, x - c)) + 360.0) % 360.0
        if (angle - sweep) % 360.0 < 45.0:
            return (0x30, 0x30, 0x30)
    shade = 1.0 - 0.25 * d
    return tuple(int(v * shade) for v in colour)


def write_bmp(path, width, height, pixel):
    row_bytes = (width * 3 + 3) // 4 * 4
    data = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += bytes(row_bytes - len(row))
        data += row
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as handle:
        handle.write(header + info + data)


def main():
    os.makedirs(HERE, exist_ok=True)
    for name, colour in KINDS.items():
        write_bmp(os.path.join(HERE, name + ".bmp"), SIZE, SIZE, lambda x, y, c=colour: disc(c, x, y))
    frames = 8
    write_bmp(os.path.join(HERE, "cdanim.bmp"), SIZE * frames, SIZE,
              lambda x, y: disc((0x60, 0xA0, 0xE0), x % SIZE, y, sweep=(x // SIZE) * 45.0))


if __name__ == "__main__":
    main()
