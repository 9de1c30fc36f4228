#!/usr/bin/env python3
"""Writes the player panels' images (24-bit BMP files, magenta 0xFF00FF the
see-through key): the control bar of each layout, the buttons, the track
bars and thumbs, the level meter and the title's place.  orbpanel.pnl names
them and says where each sits.  Run it to regenerate them; the files are
committed."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
KEY = (255, 0, 255)
FACE = (0xE6, 0xE6, 0xE6)
EDGE = (0x50, 0x50, 0x50)
LIGHT = (0xFF, 0xFF, 0xFF)
INK = (0x20, 0x40, 0x80)


def write_bmp(name, width, height, pixel):
    """pixel(x, y) -> (r, g, b), y from the top."""
    row_size = (width * 3 + 3) & ~3
    data = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += bytes(row_size - len(row))
        data += row
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(header + info + data)


def pane(name, width, height, tint):
    def pixel(x, y):
        # Rounded corners are see-through; the bottom-left one gives the key.
        for cx, cy in ((0, 0), (width - 1, 0), (0, height - 1), (width - 1, height - 1)):
            if abs(x - cx) + abs(y - cy) < 4:
                return KEY
        if x == 0 or y == 0:
            return LIGHT
        if x == width - 1 or y == height - 1:
            return EDGE
        return tint
    write_bmp(name, width, height, pixel)


GLYPHS = {
    "play": lambda x, y: 6 <= x <= 14 and abs(y - 9.5) <= (x - 5) * 0.6,
    "pause": lambda x, y: 5 <= y <= 14 and (5 <= x <= 7 or 11 <= x <= 13),
    "stop": lambda x, y: 5 <= x <= 14 and 5 <= y <= 14,
    "prev": lambda x, y: 4 <= x <= 5 and 5 <= y <= 14 or 6 <= x <= 14 and abs(y - 9.5) <= (14 - x) * 0.6,
    "next": lambda x, y: 14 <= x <= 15 and 5 <= y <= 14 or 5 <= x <= 13 and abs(y - 9.5) <= (x - 4) * 0.6,
    "restart": lambda x, y: 5 <= x <= 14 and 5 <= y <= 14 and not (7 <= x <= 12 and 7 <= y <= 12),
    "mute": lambda x, y: 4 <= x <= 8 and 7 <= y <= 12 or 9 <= x <= 12 and abs(y - 9.5) <= x - 6,
    "unmute": lambda x, y: 4 <= x <= 8 and 7 <= y <= 12 or x - 9 == y - 5 or x - 9 == 14 - y,
    "save": lambda x, y: 4 <= x <= 15 and 4 <= y <= 15 and not (7 <= x <= 12 and 5 <= y <= 9),
    "open": lambda x, y: 3 <= x <= 16 and 7 <= y <= 15 or 3 <= x <= 8 and 5 <= y <= 6,
    "fx": lambda x, y: y in (5, 9, 13) and 4 <= x <= 15 or x in (7, 12) and 4 <= y <= 15,
    "companion": lambda x, y: 4 <= x <= 15 and 15 - (x % 4) * 3 <= y <= 15,
    "print": lambda x, y: 4 <= x <= 15 and 8 <= y <= 13 or 6 <= x <= 13 and 4 <= y <= 15,
    "about": lambda x, y: x in (9, 10) and (4 <= y <= 5 or 8 <= y <= 15),
    "help": lambda x, y: (x - 9.5) ** 2 + (y - 8) ** 2 <= 16 and (x - 9.5) ** 2 + (y - 8) ** 2 >= 6 or x in (9, 10) and 13 <= y <= 15,
    "back": lambda x, y: 4 <= x <= 15 and abs(y - 9.5) <= (x - 3) * 0.5 and x <= 9 or 9 <= x <= 15 and 8 <= y <= 11,
    "forward": lambda x, y: 4 <= x <= 15 and abs(y - 9.5) <= (16 - x) * 0.5 and x >= 10 or 4 <= x <= 10 and 8 <= y <= 11,
    "halt": lambda x, y: (x - 9.5) ** 2 + (y - 9.5) ** 2 <= 30,
    "refresh": lambda x, y: 20 <= (x - 9.5) ** 2 + (y - 9.5) ** 2 <= 34,
    "home": lambda x, y: 5 <= x <= 14 and 10 <= y <= 15 or abs(x - 9.5) <= y - 3 and 4 <= y <= 10,
}


def button(name, glyph):
    def pixel(x, y):
        return INK if GLYPHS[glyph](x, y) else FACE
    write_bmp(name, 20, 20, pixel)


def page_link(name, n):
    def pixel(x, y):
        return INK if 1 <= y <= 6 and x in range(2, 2 + 3 * n, 3) else FACE
    write_bmp(name, 10, 8, pixel)


if __name__ == "__main__":
    pane("pane_document.bmp", 440, 48, (0xE2, 0xE6, 0xEC))
    pane("pane_video.bmp", 440, 48, FACE)
    pane("pane_picture.bmp", 440, 48, (0xE8, 0xE4, 0xDC))
    pane("pane_audio.bmp", 440, 48, (0xDC, 0xE6, 0xDC))
    for glyph in GLYPHS:
        button("btn_%s.bmp" % glyph, glyph)
    for n in (1, 2, 3):
        page_link("btn_page%d.bmp" % n, n)
    write_bmp("track_position.bmp", 90, 12, lambda x, y: EDGE if 5 <= y <= 6 else FACE)
    write_bmp("thumb_position.bmp", 6, 12, lambda x, y: INK)
    write_bmp("track_volume.bmp", 12, 40, lambda x, y: EDGE if 5 <= x <= 6 else FACE)
    write_bmp("thumb_volume.bmp", 12, 6, lambda x, y: INK)
    write_bmp("meter.bmp", 20, 40, lambda x, y: (0x10, 0x10, 0x10))
    write_bmp("title.bmp", 140, 16, lambda x, y: FACE)
