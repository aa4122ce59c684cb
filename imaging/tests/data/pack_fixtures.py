#!/usr/bin/env python3
"""Byte-packed test files that the image tools cannot write: TIFF files with odd tags or
headers, JPEG files with an EXIF orientation, and damaged copies of valid files.
Usage: pack_fixtures.py OUTDIR"""
import os
import struct
import sys

out = sys.argv[1]


def write(name, data):
    with open(os.path.join(out, name), "wb") as f:
        f.write(data)


def tiff(entries, blobs, little=True):
    """entries: list of (tag, type, count, values or blob name); blobs: name -> bytes placed
    after the header. Values that fit into 4 bytes stand in the entry."""
    e = "<" if little else ">"
    size = {1: 1, 3: 2, 4: 4}
    body = b""
    where = {}
    for name, blob in blobs.items():
        where[name] = 8 + len(body)
        body += blob + (b"\0" if len(blob) % 2 else b"")
    extra = b""
    ifd_offset = 8 + len(body)
    extra_base = ifd_offset + 2 + 12 * len(entries) + 4
    raw_entries = b""
    for tag, typ, count, value in sorted(entries, key=lambda t: t[0]):
        if isinstance(value, str):
            field = struct.pack(e + "I", where[value])
        else:
            fmt = {1: "B", 3: "H", 4: "I"}[typ]
            packed = b"".join(struct.pack(e + fmt, v) for v in value)
            if len(packed) <= 4:
                field = packed + b"\0" * (4 - len(packed))
            else:
                field = struct.pack(e + "I", extra_base + len(extra))
                extra += packed
        raw_entries += struct.pack(e + "HHI", tag, typ, count) + field
    head = (b"II" if little else b"MM") + struct.pack(e + "HI", 42, ifd_offset)
    return head + body + struct.pack(e + "H", len(entries)) + raw_entries + b"\0\0\0\0" + extra


def rgb_pixels(w, h):
    return bytes(((x * 40 + y) % 256, (y * 60 + 5) % 256, (x * y * 9) % 256)[c]
                 for y in range(h) for x in range(w) for c in range(3))


# RGB with BitsPerSample 8, 8, 16.
w, h = 4, 2
data = rgb_pixels(w, h)
write("rgb-8-8-16.tif", tiff([(256, 3, 1, [w]), (257, 3, 1, [h]), (258, 3, 3, [8, 8, 16]),
                              (259, 3, 1, [1]), (262, 3, 1, [2]), (273, 4, 1, "px"),
                              (277, 3, 1, [3]), (278, 4, 1, [h]), (279, 4, 1, [len(data)])],
                             {"px": data}))

# RowsPerStrip 4294967295 in a single-strip RGB image of 5 x 3 (rows of 15 bytes).
w, h = 5, 3
data = rgb_pixels(w, h)
write("rows-max.tif", tiff([(256, 3, 1, [w]), (257, 3, 1, [h]), (258, 3, 3, [8, 8, 8]),
                            (259, 3, 1, [1]), (262, 3, 1, [2]), (273, 4, 1, "px"),
                            (277, 3, 1, [3]), (278, 4, 1, [0xFFFFFFFF]),
                            (279, 4, 1, [len(data)])], {"px": data}, little=False))

# 4-bit palette with 16-bit colour values whose low bytes differ from the high bytes.
w, h = 5, 3
idx = [(x + 2 * y) % 16 for y in range(h) for x in range(w)]
rows = b""
for y in range(h):
    row = idx[y * w:(y + 1) * w] + [0]
    rows += bytes((row[i] << 4) | row[i + 1] for i in range(0, w, 2))
red = [i * 0x1000 + 0x00AB for i in range(16)]
green = [0xFFFF - i * 0x1000 for i in range(16)]
blue = [(i * 0x0F0F) ^ 0x00FF for i in range(16)]
cmap = struct.pack(">48H", *(red + green + blue))
write("palette4-be.tif", tiff([(256, 3, 1, [w]), (257, 3, 1, [h]), (258, 3, 1, [4]),
                               (259, 3, 1, [1]), (262, 3, 1, [3]), (273, 4, 1, "px"),
                               (278, 3, 1, [h]), (279, 4, 1, [len(rows)]),
                               (320, 3, 48, "map")], {"px": rows, "map": cmap}, little=False))

# "II" with 43 instead of 42.
write("bad-magic.tif", b"II" + struct.pack("<HI", 43, 8) + b"\0" * 16)

# A directory chain that points back at itself, with one 2 x 1 grey image.
px = bytes([10, 200])
looped = bytearray(tiff([(256, 3, 1, [2]), (257, 3, 1, [1]), (258, 3, 1, [8]),
                         (259, 3, 1, [1]), (262, 3, 1, [1]), (273, 4, 1, "px"),
                         (279, 4, 1, [2])], {"px": px}))
ifd = struct.unpack("<I", looped[4:8])[0]
struct.pack_into("<I", looped, ifd + 2 + 12 * 7, ifd)
write("loop.tif", bytes(looped))

# A strip that reaches beyond the end of the file.
write("strip-beyond.tif", tiff([(256, 3, 1, [4]), (257, 3, 1, [4]), (258, 3, 1, [8]),
                                (259, 3, 1, [1]), (262, 3, 1, [1]), (273, 4, 1, "px"),
                                (279, 4, 1, [0x7FFFFFF0])], {"px": bytes(16)}))

# Strip byte counts too small for the rows (4 x 4 grey, 6 bytes of data).
write("strip-short.tif", tiff([(256, 3, 1, [4]), (257, 3, 1, [4]), (258, 3, 1, [8]),
                               (259, 3, 1, [1]), (262, 3, 1, [1]), (273, 4, 1, "px"),
                               (279, 4, 1, [6])], {"px": bytes(6)}))

# A palette image whose colour map lies beyond the end of the file.
write("palette-beyond.tif", tiff([(256, 3, 1, [2]), (257, 3, 1, [1]), (258, 3, 1, [8]),
                                  (259, 3, 1, [1]), (262, 3, 1, [3]), (273, 4, 1, "px"),
                                  (279, 4, 1, [2]), (320, 4, 768, [0x00FFFFF0])],
                                 {"px": bytes([1, 2])}))

# Width above 65535.
write("too-wide.tif", tiff([(256, 4, 1, [70000]), (257, 3, 1, [1]), (258, 3, 1, [8]),
                            (259, 3, 1, [1]), (262, 3, 1, [1]), (273, 4, 1, "px"),
                            (279, 4, 1, [4])], {"px": bytes(4)}))

# 60000 x 60000 pixels claimed: more than a bitmap may hold.
write("too-many-pixels.tif", tiff([(256, 3, 1, [60000]), (257, 3, 1, [60000]),
                                   (258, 3, 1, [1]), (259, 3, 1, [1]), (262, 3, 1, [1]),
                                   (273, 4, 1, "px"), (279, 4, 1, [16])], {"px": bytes(16)}))


def exif_app1(orientation, little):
    e = "<" if little else ">"
    tiff_head = (b"II" if little else b"MM") + struct.pack(e + "HI", 42, 8)
    ifd = struct.pack(e + "H", 2)
    ifd += struct.pack(e + "HHI", 0x010F, 2, 4) + struct.pack(e + "I", 8 + 2 + 24 + 4)
    ifd += struct.pack(e + "HHIH", 0x0112, 3, 1, orientation) + b"\0\0"
    ifd += b"\0\0\0\0" + b"Cam\0"
    body = b"Exif\0\0" + tiff_head + ifd
    return b"\xFF\xE1" + struct.pack(">H", len(body) + 2) + body


def with_orientation(src, dst, orientation, little):
    data = open(os.path.join(out, src), "rb").read()
    # After SOI and the JFIF segment when there is one.
    pos = 2
    if data[2:4] == b"\xFF\xE0":
        pos = 4 + struct.unpack(">H", data[4:6])[0]
    write(dst, data[:pos] + exif_app1(orientation, little) + data[pos:])


with_orientation("quad.jpg", "quad-o6.jpg", 6, True)
with_orientation("quad.jpg", "quad-o8.jpg", 8, False)
with_orientation("quad.jpg", "quad-o3.jpg", 3, True)

def wmf_record(function, *params):
    return struct.pack("<IH", 3 + len(params), function) + b"".join(
        struct.pack("<h" if p < 0 else "<H", p) for p in params)


# A placeable WMF of 1000 x 500 units at 1000 units per inch (96 x 48 pixels at 96 dpi):
# the left half filled red without an outline, the rest left to the background.
records = (wmf_record(0x020B, 0, 0) + wmf_record(0x020C, 500, 1000) +
           wmf_record(0x02FC, 0, 0x00FF, 0x0000, 0) +       # solid brush, COLORREF red
           wmf_record(0x012D, 0) +
           wmf_record(0x02FA, 5, 0, 0, 0, 0) +              # null pen
           wmf_record(0x012D, 1) +
           wmf_record(0x041B, 500, 500, 0, 0) +             # rectangle bottom, right, top, left
           wmf_record(0x0000))
words = (18 + len(records)) // 2
meta = struct.pack("<HHHIHIH", 1, 9, 0x0300, words, 2, 8, 0)
placeable = struct.pack("<IHhhhhHI", 0x9AC6CDD7, 0, 0, 0, 1000, 500, 1000, 0)
checksum = 0
for (word,) in struct.iter_unpack("<H", placeable[:20]):
    checksum ^= word
write("half-red.wmf", placeable + struct.pack("<H", checksum) + meta + records)

# An EMF of 100 x 100 device pixels: the left half filled blue with the null pen.
emf_records = (struct.pack("<IIIIII", 39, 24, 1, 0, 0x00FF0000, 0) +      # brush, blue
               struct.pack("<III", 37, 12, 1) +
               struct.pack("<III", 37, 12, 0x80000008) +                  # stock null pen
               struct.pack("<II4i", 43, 24, 0, 0, 50, 100) +              # rectangle
               struct.pack("<IIIII", 14, 20, 0, 16, 20))
total = 88 + len(emf_records)
emf_header = struct.pack("<II4i4iIIIIHHIIIiiii", 1, 88, 0, 0, 99, 99, 0, 0, 2646, 2646,
                         0x464D4520, 0x10000, total, 6, 2, 0, 0, 0, 0, 1024, 768, 271, 203)
write("half-blue.emf", emf_header + emf_records)

# Damaged copies of files other libraries decode: they must fail cleanly or decode.
os.makedirs(os.path.join(out, "damaged"), exist_ok=True)
for src in ["quad.jpg", "A.bmp", "icon.ico", "half-red.wmf", "half-blue.emf"]:
    data = open(os.path.join(out, src), "rb").read()
    stem, ext = os.path.splitext(src)
    cases = {
        "cut-header": data[:min(len(data), 30)],
        "cut-half": data[:len(data) // 2],
        "zeros": data[:16] + bytes(len(data) - 16),
    }
    flipped = bytearray(data)
    for i in range(2, len(flipped), 7):
        flipped[i] ^= 0x5A
    cases["flipped"] = bytes(flipped)
    big = bytearray(data)
    if ext == ".bmp":
        struct.pack_into("<ii", big, 18, 0x7FFFFFF, 0x7FFFFFF)
    elif ext == ".wmf":
        struct.pack_into("<hhhhH", big, 6, -32768, -32768, 32767, 32767, 1)
    elif ext == ".emf":
        struct.pack_into("<4i", big, 8, -2**31, -2**31, 2**31 - 1, 2**31 - 1)
        struct.pack_into("<4i", big, 24, -2**31, -2**31, 2**31 - 1, 2**31 - 1)
    elif ext == ".ico":
        big[6] = 0
        big[7] = 0
        struct.pack_into("<I", big, 14, 0xFFFFFFF0)
    else:
        sof = big.find(b"\xFF\xC0")
        struct.pack_into(">HH", big, sof + 5, 0xFFFF, 0xFFFF)
    cases["huge"] = bytes(big)
    for name, blob in cases.items():
        write(os.path.join("damaged", f"{stem}-{name}{ext}"), blob)
