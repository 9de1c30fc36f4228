#!/usr/bin/env python3
"""Writes the WAV reader's fuzz corpus (fuzz/corpus/): small files in each
layout the reader takes, and a few it must refuse.  Run it again after
changing a case; the fuzzer itself only reads the folder."""
import os
import struct

CORPUS = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'corpus')
# The sub-format GUID of the extensible header after its first two bytes.
GUID_TAIL = bytes([0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71])


def fmt(tag, channels, rate, bits, extensible=False):
    align = channels * bits // 8
    if extensible:
        body = struct.pack('<HHIIHHHHI', 0xFFFE, channels, rate, rate * align, align, bits,
                           22, bits, 3) + struct.pack('<H', tag) + GUID_TAIL
    else:
        body = struct.pack('<HHIIHH', tag, channels, rate, rate * align, align, bits)
    return b'fmt ' + struct.pack('<I', len(body)) + body


def chunk(name, body):
    return name + struct.pack('<I', len(body)) + body + (b'\0' if len(body) % 2 else b'')


def riff(chunks):
    body = b''.join(chunks)
    return b'RIFF' + struct.pack('<I', 4 + len(body)) + b'WAVE' + body


FILES = {
    'pcm16_stereo.wav': riff([fmt(1, 2, 8000, 16),
                              chunk(b'data', struct.pack('<8h', 1000, -2000, 3000, -4000,
                                                         32767, -32768, 0, 5))]),
    'pcm8_mono_odd.wav': riff([chunk(b'junk', b'abc'), fmt(1, 1, 11025, 8),
                               chunk(b'data', bytes([128, 255, 0, 200, 60]))]),
    'pcm24_title.wav': riff([fmt(1, 2, 48000, 24),
                             chunk(b'LIST', b'INFOINAM' + struct.pack('<I', 6) + b'Song\0\0'),
                             chunk(b'data', bytes(range(12)))]),
    'float_ext.wav': riff([fmt(3, 2, 44100, 32, True),
                           chunk(b'data', struct.pack('<4f', 0.5, -0.25, 1.5, float('nan')))]),
    'pcm32_short_data.wav': riff([fmt(1, 1, 22050, 32)]) + b'data' +
                            struct.pack('<I', 0xFFFFFFFF) + bytes(10),
    'mp3ish.wav': b'ID3\x03\x00\x00\x00\x00\x00\x00' + bytes(20),
}

if __name__ == '__main__':
    os.makedirs(CORPUS, exist_ok=True)
    for name, data in FILES.items():
        with open(os.path.join(CORPUS, name), 'wb') as out:
            out.write(data)
