#!/usr/bin/env bash
# Makes the seed corpora of the picture and song decoders' fuzz targets with independent
# tools: ImageMagick for JPEG, BMP and ICO, lame and ffmpeg for MP3. The WMF and EMF seeds are
# the metafile fixtures of the imaging tests (no common tool writes metafiles).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
corpus="$here/corpus"
fixtures="$here/../imaging/tests/data"
mkdir -p "$corpus"/{jpeg_fuzz,bmp_fuzz,ico_fuzz,wmf_fuzz,emf_fuzz,audio_mp3_fuzz}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

j="$corpus/jpeg_fuzz"
convert -size 24x16 gradient:red-blue -quality 90 "$j/baseline.jpg"
convert -size 24x16 gradient:red-blue -interlace Plane -quality 80 "$j/progressive.jpg"
convert -size 17x9 gradient:white-black -colorspace Gray "$j/grey.jpg"
convert -size 16x16 xc:teal -colorspace CMYK "$j/cmyk.jpg"
convert -size 32x8 plasma:fractal -seed 3 -sampling-factor 1x1 -quality 60 "$j/444.jpg"
cp "$fixtures/quad-o6.jpg" "$j/exif-o6.jpg"

b="$corpus/bmp_fuzz"
convert -size 12x7 gradient:yellow-purple BMP3:"$b/rgb24.bmp"
convert -size 12x7 gradient:yellow-purple -colors 16 -type Palette BMP3:"$b/palette4.bmp"
convert -size 12x7 gradient:yellow-purple -colors 200 -type Palette BMP3:"$b/palette8.bmp"
convert -size 12x7 gradient:yellow-purple -compress RLE -colors 200 -type Palette BMP3:"$b/rle8.bmp"
convert -size 9x5 xc:'rgba(0,128,255,0.5)' BMP:"$b/argb32.bmp"

i="$corpus/ico_fuzz"
convert -size 16x16 xc:purple "$i/one.ico"
convert -size 32x32 gradient:'rgba(255,0,0,1)-rgba(0,0,255,0.2)' -define icon:auto-resize=32,16 "$i/alpha-two-sizes.ico"
convert -size 16x16 xc:white -colors 2 -type Palette "$i/bilevel.ico"

cp "$fixtures"/*.wmf "$fixtures"/damaged/*.wmf "$corpus/wmf_fuzz/"
cp "$fixtures"/*.emf "$fixtures"/damaged/*.emf "$corpus/emf_fuzz/"

m="$corpus/audio_mp3_fuzz"
ffmpeg -v error -y -f lavfi -i "sine=frequency=330:sample_rate=22050:duration=0.3" -ac 1 "$tmp/mono.wav"
lame --quiet -b 32 "$tmp/mono.wav" "$m/lame-mono-22k.mp3"
ffmpeg -v error -y -f lavfi -i "sine=frequency=500:sample_rate=32000:duration=0.3" -ac 2 "$tmp/stereo.wav"
lame --quiet -V 5 --tt title --ta artist --id3v1-only "$tmp/stereo.wav" "$m/lame-vbr-32k-id3v1.mp3"
