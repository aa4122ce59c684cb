#!/usr/bin/env bash
# Pictures of the real program's windows for the README and the manual: velmora runs under
# Xvfb on demo stores made with velmora-cli from pictures and songs that ImageMagick and ffmpeg
# generate, and saves each window with its --screenshot option into docs/screenshots/.
#
# Each shot line below is "shot name store delay [files...]"; a window caught at work (an import,
# a production run) is taken once its progress has come far enough (app/Screenshots.cpp), so its
# delay only has to end before that work does. A window of another unit is added
# with one line here and one line in app/Screenshots.cpp. Every window is taken in Chinese and
# in English (--lang en, into docs/screenshots/en/).
set -euo pipefail
build=${1:-build-release}
here=$(cd "$(dirname "$0")/.." && pwd)
program="$(cd "$build" && pwd)/velmora"
cli="$(cd "$build" && pwd)/velmora-cli"
out="$here/docs/screenshots"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out" "$work/source" "$work/empty" "$work/demo" "$work/import"
src="$work/source"

echo "== making the demo pictures and songs"
convert -size 1600x1200 -seed 11 plasma:fractal -blur 0x2 -quality 90 "$src/lake.jpg"
convert -size 1920x1080 gradient:'#ff9a3c-#4a1c6b' -swirl 90 -quality 90 "$src/sunset.jpg"
convert -size 900x1400 -seed 23 plasma:green-blue -quality 90 "$src/forest.jpg"
convert -size 1000x1000 radial-gradient:'#fff6c0-#c04000' -quality 90 "$src/sun.jpg"
convert -size 640x480 pattern:checkerboard -scale 400% -fill '#d04040' -colorize 40 "$src/tiles.bmp"
# Large photographs (12 megapixels), so that the import dialog is caught at work.
convert -size 800x600 -seed 7 plasma:fractal -blur 0x1 "$work/base.png"
for i in 1 2 3 4 5 6; do
    convert "$work/base.png" -modulate 100,100,$((60 + 15 * i)) -resize 4000x3000! -quality 92 \
        "$src/photo$i.JPG"
done
song() {  # name seconds base-frequency
    ffmpeg -v error -y -f lavfi -i \
        "aevalsrc=0.3*sin(2*PI*($3+$3/2*mod(floor(t/2)\,2))*t)+0.2*sin(2*PI*($3*5/4)*t)|0.3*sin(2*PI*($3*3/2)*t):s=44100:d=$2" \
        -c:a libmp3lame -b:a 160k "$src/$1"
}
song "晨曲.mp3" 40 262
song "River Song.mp3" 30 330
for i in 1 2 3 4 5 6 7 8; do song "track$i.MP3" 120 $((200 + 20 * i)); done

cli() { "$cli" --store "$1" "${@:2}" >/dev/null; }
album="旅行 Travel 2026"
cli "$work/demo" album create "$album"
cli "$work/demo" import-pictures "$album" "$src/lake.jpg" "$src/sunset.jpg" "$src/forest.jpg" \
    "$src/sun.jpg" "$src/tiles.bmp"
cli "$work/demo" edit-picture "$album" 0 --title "湖光山色 Lake" --effect 1
cli "$work/demo" edit-picture "$album" 1 --title "日落 Sunset" --effect 0
cli "$work/demo" edit-picture "$album" 2 --title "森林 Forest" --effect 37 --dwell 4
cli "$work/demo" edit-picture "$album" 3 --title "太阳 The sun" --effect 64
cli "$work/demo" edit-picture "$album" 4 --title "瓷砖 Tiles" --effect 105 --dwell 2
cli "$work/demo" import-music "$album" "$src/晨曲.mp3" "$src/River Song.mp3"
cli "$work/demo" album create "家庭 Family"
cli "$work/demo" album create "毕业典礼"
cli "$work/import" album create "新相册"

shot() {  # name store delay-ms [file...]; $lang and $dir say the language and the folder
    local name=$1 store=$2 delay=$3
    shift 3
    local files=()
    for f in "$@"; do files+=(--screenshot-file "$f"); done
    echo "== $dir/$name.png ($lang)"
    SDL_AUDIODRIVER=dummy xvfb-run -a -s "-screen 0 1280x900x24" \
        "$program" --lang "$lang" --store "$store" --screenshot "$name" \
        --screenshot-out "$dir/$name.png" --screenshot-delay "$delay" "${files[@]}"
}

# Every window in Chinese (docs/screenshots/) and in English (docs/screenshots/en/); the
# stores' data (album names, titles, songs) stays as the user typed it.
mkdir -p "$out/en"
for lang in zh en; do
    dir=$out
    [ "$lang" = en ] && dir=$out/en
    rm -rf "$work/empty" && mkdir -p "$work/empty"
    shot main-empty "$work/empty" 800
    cp "$dir/main-empty.png" "$dir/main.png"
    shot main-pictures "$work/demo" 800
    shot main-songs "$work/demo" 2500
    shot create-album "$work/demo" 800
    shot edit-picture "$work/demo" 1500
    shot edit-picture-preview "$work/demo" 800
    shot make "$work/demo" 1500
    shot make-run "$work/demo" 800
    rm -rf "$work/import-$lang" && cp -r "$work/import" "$work/import-$lang"
    shot import-pictures "$work/import-$lang" 300 "$src"/photo*.JPG
    shot import-music "$work/import-$lang" 300 "$src"/track*.MP3
    shot about "$work/demo" 800
done
echo "pictures in $out and $out/en"
