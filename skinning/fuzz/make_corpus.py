#!/usr/bin/env python3
"""Writes the seed images of the PE import-walk fuzz target into corpus/:
small PE32 and PE32+ images with one import section, in the loaded and the
file layout, one of them importing by ordinal only."""

import os
import struct

SECTION_RVA = 0x1000
SECTION_FILE = 0x400
SECTION_SIZE = 0x400


def image(is64, file_layout, imports):
    base = SECTION_FILE if file_layout else SECTION_RVA
    data = bytearray(base + SECTION_SIZE)

    def at(rva):
        return rva - SECTION_RVA + base

    data[0:2] = b"MZ"
    struct.pack_into("<I", data, 0x3C, 0x40)
    data[0x40:0x44] = b"PE\0\0"
    optional_size = 240 if is64 else 224
    struct.pack_into("<HH", data, 0x44, 0x8664 if is64 else 0x14C, 1)
    struct.pack_into("<H", data, 0x44 + 16, optional_size)
    optional = 0x58
    struct.pack_into("<H", data, optional, 0x20B if is64 else 0x10B)
    struct.pack_into("<I", data, optional + 56, SECTION_RVA + SECTION_SIZE)
    struct.pack_into("<I", data, optional + (108 if is64 else 92), 16)
    struct.pack_into("<II", data, optional + (120 if is64 else 104), SECTION_RVA, 40)
    sections = optional + optional_size
    data[sections:sections + 8] = b".idata\0\0"
    struct.pack_into("<IIII", data, sections + 8, SECTION_SIZE, SECTION_RVA, SECTION_SIZE, SECTION_FILE)
    thunk = 8 if is64 else 4
    ordinal_flag = (1 << 63) if is64 else 0x80000000
    names = SECTION_RVA + 40
    slots = names + (len(imports) + 1) * thunk
    text = slots + (len(imports) + 1) * thunk
    for i, name in enumerate(imports):
        if isinstance(name, int):
            value = ordinal_flag | name
        else:
            value = text
            encoded = struct.pack("<H", i) + name.encode() + b"\0\0"
            data[at(text):at(text) + len(encoded)] = encoded
            text += len(encoded)
        fmt = "<Q" if is64 else "<I"
        struct.pack_into(fmt, data, at(names + i * thunk), value)
        struct.pack_into(fmt, data, at(slots + i * thunk), value)
    data[at(text):at(text) + 11] = b"USER32.dll\0"
    struct.pack_into("<I", data, at(SECTION_RVA), names)
    struct.pack_into("<I", data, at(SECTION_RVA + 12), text)
    struct.pack_into("<I", data, at(SECTION_RVA + 16), slots)
    return bytes(data)


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")
    os.makedirs(folder, exist_ok=True)
    seeds = {
        "pe32_loaded": image(False, False, ["DefWindowProcA", "BeginPaint", "EndPaint"]),
        "pe32plus_file": image(True, True, ["BeginPaint", "EndPaint"]),
        "ordinal_only": image(False, True, [39, "EndPaint"]),
    }
    for name, data in seeds.items():
        with open(os.path.join(folder, name), "wb") as out:
            out.write(data)


if __name__ == "__main__":
    main()
