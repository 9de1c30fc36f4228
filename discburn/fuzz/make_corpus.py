#!/usr/bin/env python3
"""Writes the seed corpus of session_import_fuzz: small discs from sector 16
on (descriptors, then directories), each a case the importer must handle."""
import os
import struct

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "session_import")


def both32(v):
    return struct.pack("<I", v) + struct.pack(">I", v)


def record(name, extent, size, is_dir):
    length = 33 + len(name)
    length += length & 1
    r = bytearray(length)
    r[0] = length
    r[2:10] = both32(extent)
    r[10:18] = both32(size)
    r[18:25] = bytes([126, 6, 15, 12, 30, 45, 8])
    r[25] = 2 if is_dir else 0
    r[28:32] = b"\x01\x00\x00\x01"
    r[32] = len(name)
    r[33:33 + len(name)] = name
    return bytes(r)


def directory(self_extent, parent_extent, children):
    sector = bytearray(2048)
    data = record(b"\x00", self_extent, 2048, True) + record(b"\x01", parent_extent, 2048, True)
    for child in children:
        data += child
    sector[:len(data)] = data
    return bytes(sector)


def descriptor(kind, root_extent, joliet):
    d = bytearray(2048)
    d[0] = kind
    d[1:6] = b"CD001"
    d[6] = 1
    if joliet:
        d[88:91] = b"\x25\x2f\x40"
    d[156:190] = record(b"\x00", root_extent, 2048, True)
    d[881] = 1
    return bytes(d)


def terminator():
    d = bytearray(2048)
    d[0] = 255
    d[1:6] = b"CD001"
    return bytes(d)


def ucs2(text):
    return text.encode("utf-16-be")


def write(name, sectors):
    with open(os.path.join(HERE, name), "wb") as out:
        out.write(b"".join(sectors))


os.makedirs(HERE, exist_ok=True)
# Sectors: 16 primary, 17 Joliet, 18 terminator, 19 ISO root, 20 Joliet
# root, 21 Joliet sub-directory, 22 file data.
write("joliet_tree", [
    descriptor(1, 19, False), descriptor(2, 20, True), terminator(),
    directory(19, 19, [record(b"A.TXT;1", 22, 5, False)]),
    directory(20, 20, [record(ucs2("a.txt"), 22, 5, False),
                       record(ucs2("Sub dir"), 21, 2048, True)]),
    directory(21, 20, [record(ucs2("b.bin"), 22, 3000, False),
                       record(ucs2("empty"), 0, 0, False)]),
    b"hello".ljust(2048, b"\0")])
write("primary_only", [
    descriptor(1, 18, False), terminator(),
    directory(18, 18, [record(b"README.;1", 19, 4, False), record(b"DIR", 18, 2048, True)]),
    b"text".ljust(2048, b"\0")])
write("self_loop", [
    descriptor(2, 18, True), terminator(),
    directory(18, 18, [record(ucs2("loop"), 18, 2048, True), record(ucs2("x"), 19, 1, False)])])
write("multi_extent", [
    descriptor(2, 18, True), terminator(),
    directory(18, 18, [record(ucs2("big.vob"), 19, 2048, False)[:25] + b"\x80" +
                       record(ucs2("big.vob"), 19, 2048, False)[26:],
                       record(ucs2("big.vob"), 20, 100, False),
                       record(ucs2("after.txt"), 19, 10, False)])])
write("no_descriptor", [bytes(2048)])
