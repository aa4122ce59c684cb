#!/usr/bin/env python3
"""Writes the seed corpus of fuzz/store_records_fuzz from the record tables, with Python's own
struct packing and gb18030 codec (independent of the store's writer)."""
import os
import struct
import sys

here = os.path.dirname(os.path.abspath(__file__))
out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, '../../../fuzz/corpus/store_records_fuzz')


def ss(text, cap):
    b = text.encode('gb18030')[:cap]
    return bytes([len(b)]) + b + bytes(cap - len(b))


os.makedirs(out, exist_ok=True)
seeds = {
    'album': ss('旅行 Travel 2026', 90) + ss('Family', 90),
    'picinfo': struct.pack('<ii', 3, 13) + ss('海边', 36) + ss('a.jpg', 255) + ss('P0.jpg', 20) + bytes(2),
    'musicinfo': struct.pack('<i', 245) + ss('M0.mp3', 20) + ss('中文.mp3', 255) + ss('旅行', 30)
    + ss('', 30) + bytes(1),
    'damaged': bytes([90]) + b'\x81\x30\xff\x80\xd6' * 18,
}
for name, data in seeds.items():
    with open(os.path.join(out, name), 'wb') as f:
        f.write(data)
