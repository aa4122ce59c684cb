#!/usr/bin/env bash
# Regenerates the imaging test files with independent tools: ImageMagick's convert writes the
# ordinary TIFF, JPEG, BMP and ICO files, libtiff's tiffcp and tiffset make the multi-page and
# re-tagged TIFF files, and pack_fixtures.py packs the files no tool writes (odd tags, damaged
# headers, EXIF orientation). The tests compute the expected pixels from the same sample
# formulas used here.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cd "$here"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Grey samples G(x, y) = (25x + 40y) mod 256, 10 x 6.
python3 -c "
import sys
sys.stdout.buffer.write(bytes((25*x + 40*y) % 256 for y in range(6) for x in range(10)))" \
    > "$work/grey.gray"
convert -size 10x6 -depth 8 gray:"$work/grey.gray" -define tiff:endian=lsb \
    -define tiff:rows-per-strip=3 -compress none grey8-le.tif
convert -size 10x6 -depth 8 gray:"$work/grey.gray" -define tiff:endian=msb \
    -define tiff:rows-per-strip=2 -compress none grey8-be.tif
# The same samples declared WhiteIsZero.
cp grey8-le.tif grey8-wiz.tif
tiffset -s 262 0 grey8-wiz.tif

# 4-bit grey: V(x, y) = (x + 3y) mod 16 on 7 x 4, written from 8-bit values V x 17.
python3 -c "
import sys
sys.stdout.buffer.write(bytes(((x + 3*y) % 16) * 17 for y in range(4) for x in range(7)))" \
    > "$work/grey4.gray"
convert -size 7x4 -depth 8 gray:"$work/grey4.gray" -depth 4 -compress none grey4.tif

# Bilevel 13 x 5: black where (x + y) mod 3 = 0.
python3 -c "
import sys
rows = ['1' if (x + y) % 3 == 0 else '0' for y in range(5) for x in range(13)]
sys.stdout.write('P1\n13 5\n' + ' '.join(rows) + '\n')" > "$work/bilevel.pbm"
convert "$work/bilevel.pbm" -compress none bilevel-biz.tif
# The same bits declared WhiteIsZero: stored 0 bits (the black pixels above) now mean white.
cp bilevel-biz.tif bilevel-wiz.tif
tiffset -s 262 0 bilevel-wiz.tif

# RGB samples R = 40x + y, G = 60y + 5, B = 9xy (mod 256), 7 x 3: rows of 21 bytes.
python3 -c "
import sys
sys.stdout.buffer.write(bytes(v % 256 for y in range(3) for x in range(7)
                              for v in (40*x + y, 60*y + 5, 9*x*y)))" > "$work/rgb.rgb"
convert -size 7x3 -depth 8 rgb:"$work/rgb.rgb" -define tiff:rows-per-strip=1 -compress none \
    rgb.tif
convert -size 7x3 -depth 8 rgb:"$work/rgb.rgb" -compress lzw rgb-lzw.tif
convert -size 7x3 -depth 8 rgb:"$work/rgb.rgb" -colorspace cmyk -compress none cmyk.tif

# Palettes 9 x 5: colour C(i) = (13i, 255 - 11i, i * i mod 256) at index i = (x + 2y) mod K;
# K = 20 colours make an 8-bit palette, K = 4 a 2-bit one.
for k in 20 4; do
    python3 -c "
import sys
k = $k
sys.stdout.buffer.write(bytes(c for y in range(5) for x in range(9)
                              for c in (13 * ((x + 2*y) % k), 255 - 11 * ((x + 2*y) % k),
                                        ((x + 2*y) % k) ** 2 % 256)))" > "$work/pal.rgb"
    convert -size 9x5 -depth 8 rgb:"$work/pal.rgb" -type Palette -compress none "palette-k$k.tif"
done

# Two pages: the grey image, then the LZW RGB image.
tiffcp grey8-le.tif rgb-lzw.tif two-page.tif

# Quadrants 32 x 16: red, green / blue, white, for the EXIF orientation tests.
convert -size 16x8 xc:red -size 16x8 xc:lime +append \
    \( -size 16x8 xc:blue -size 16x8 xc:white +append \) -append -quality 95 quad.jpg
convert -size 24x12 xc:orange -depth 8 BMP3:A.bmp
convert -size 40x30 gradient:navy-yellow -quality 90 C.jpg
head -c 100 C.jpg > B.jpg  # cut inside its tables: no image
convert -size 16x16 xc:purple icon.ico

python3 pack_fixtures.py "$here"
