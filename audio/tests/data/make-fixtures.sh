#!/usr/bin/env bash
# Regenerates the MP3 fixtures of the audio tests with independent tools (ffmpeg's command
# line, lame, ffprobe, python3) and records the durations that ffprobe reports in
# durations.txt. Run from anywhere; writes next to this script.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

ff() { ffmpeg -nostdin -hide_banner -loglevel error -y "$@"; }

# A sine of amplitude 0.5 centred on FFT bin 20 of a 1024-sample window at 44.1 kHz
# (20 * 44100 / 1024 = 861.328125 Hz), 3 s, stereo.
ff -f lavfi -i "aevalsrc=0.5*sin(2*PI*861.328125*t)|0.5*sin(2*PI*861.328125*t):s=44100:d=3" \
    -c:a pcm_s16le "$tmp/sine.wav"
# Something closer to music for the variable bit rate: a chord with a noise bed.
ff -f lavfi -i "aevalsrc=0.2*sin(2*PI*220*t)+0.2*sin(2*PI*277.2*t)+0.2*sin(2*PI*329.6*t)|0.2*sin(2*PI*330*t)+0.2*sin(2*PI*440*t):s=44100:d=3" \
    -f lavfi -i "anoisesrc=d=3:c=pink:r=44100:a=0.05:seed=7" \
    -filter_complex "[1]aformat=channel_layouts=stereo[n];[0][n]amix=inputs=2:normalize=0" \
    -c:a pcm_s16le "$tmp/chord.wav"

# Constant bit rate without Xing/LAME header and without tags.
lame --quiet -b 128 -t "$tmp/sine.wav" cbr128_44k_stereo.mp3
# Variable bit rate with a Xing header.
lame --quiet -V 4 "$tmp/chord.wav" vbr_xing_44k_stereo.mp3
# Mono at 48 kHz, written by ffmpeg's muxer (ID3v2 header with the encoder, Info header).
ff -f lavfi -i "sine=frequency=1000:sample_rate=48000:duration=2" -ac 1 \
    -c:a libmp3lame -b:a 64k mono_48k_id3v2.mp3
# Stereo at 48 kHz, variable bit rate.
ff -f lavfi -i "sine=frequency=600:sample_rate=48000:duration=2" -ac 2 \
    -c:a libmp3lame -q:a 5 stereo_48k_vbr.mp3
# ID3v1.1 only: title, artist, album, year, comment, track 7, genre Pop (13).
lame --quiet -b 64 --resample 44.1 --id3v1-only --tt "Fixture Title" --ta "Fixture Artist" --tl "Fixture Album" \
    --ty 2001 --tc "a comment" --tn 7 --tg Pop "$tmp/sine.wav" tag_id3v1.mp3
# Both ID3v2 and ID3v1 (ID3v1.0: no track).
lame --quiet -b 64 --resample 44.1 --add-id3v2 --tt "Both Tags" --ta "Singer Two" --tc "remark two" \
    "$tmp/chord.wav" tag_both.mp3
# One second, for playing to the end in real time.
ff -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=1" -ac 2 "$tmp/short.wav"
lame --quiet -b 96 --resample 44.1 "$tmp/short.wav" short_1s.mp3

# A damaged file: the constant bit rate file with 6000 bytes in its middle overwritten by a
# fixed pattern and its last 1000 bytes cut off.
python3 - <<'PY'
data = bytearray(open("cbr128_44k_stereo.mp3", "rb").read())
pattern = bytes((i * 37 + 11) & 0xFF for i in range(6000))
data[20000:26000] = pattern
open("damaged.mp3", "wb").write(bytes(data[:-1000]))
PY
# Not audio at all, with an MP3 name.
printf 'This is a text file with an .mp3 name, not audio.\n%.0s' {1..40} > not_audio.mp3

: > durations.txt
for f in cbr128_44k_stereo.mp3 vbr_xing_44k_stereo.mp3 mono_48k_id3v2.mp3 stereo_48k_vbr.mp3 \
    tag_id3v1.mp3 tag_both.mp3 short_1s.mp3; do
    d=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$f")
    echo "$f $d" >> durations.txt
done
# What ffmpeg's own decoder makes of the damaged file, in seconds of sound.
bytes=$(ffmpeg -nostdin -loglevel quiet -i damaged.mp3 -f s16le -ac 2 -ar 44100 - | wc -c)
python3 -c "print('damaged.mp3.decoded', $bytes / 176400)" >> durations.txt
