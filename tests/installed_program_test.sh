#!/usr/bin/env bash
# Checks an installed copy of Velmora the way a person's machine would hold it:
#   installed_program_test.sh --install BUILD_DIR   installs the build tree into a temporary root
#   installed_program_test.sh --deb PACKAGE.deb      unpacks the package into a temporary root
# then checks that every file the programs and the desktop look for is there, validates the
# desktop entry and the AppStream metadata, runs both programs from the temporary root
# (--version without a display) and renders a small album with velmora-cli, whose store must
# land in $XDG_DATA_HOME/velmora/ with the shipped background pictures usable.
set -euo pipefail

mode=${1:?usage: installed_program_test.sh --install BUILD_DIR | --deb PACKAGE.deb}
source_arg=${2:?missing build folder or package}
here=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/velmora-installed.XXXXXX")
trap 'rm -rf "$work"' EXIT
root="$work/root"
mkdir -p "$root"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

case "$mode" in
--install)
    DESTDIR="$root" cmake --install "$source_arg" --prefix /usr >/dev/null
    ;;
--deb)
    dpkg-deb -x "$source_arg" "$root"
    ;;
*)
    fail "unknown mode $mode"
    ;;
esac
usr="$root/usr"
id=org.velmora.Velmora

echo "== files"
required=(
    bin/velmora bin/velmora-cli
    "share/applications/$id.desktop"
    "share/metainfo/$id.metainfo.xml"
    "share/icons/hicolor/scalable/apps/$id.svg"
    share/man/man1/velmora.1.gz share/man/man1/velmora-cli.1.gz
    share/doc/velmora/copyright share/doc/velmora/changelog.gz
)
for size in 16 22 24 32 48 64 128 256; do
    required+=("share/icons/hicolor/${size}x${size}/apps/$id.png")
done
# The data folder holds whatever the source tree ships: manual, product pages, translations.
[ -f "$here/docs/manual/index.html" ] && required+=(share/velmora/manual/index.html)
[ -f "$here/docs/manual/en/index.html" ] && required+=(share/velmora/manual/en/index.html)
[ -d "$here/docs/pages" ] && required+=(share/velmora/pages/product.html)
for ts in "$here"/translations/velmora_*.ts; do
    [ -f "$ts" ] && required+=("share/velmora/translations/$(basename "${ts%.ts}").qm")
done
for picture in "$here"/dist/backpic/*.jpg; do
    required+=("share/velmora/backpic/$(basename "$picture")")
done
for file in "${required[@]}"; do
    [ -s "$usr/$file" ] || fail "missing or empty: /usr/$file"
done
[ -x "$usr/bin/velmora" ] && [ -x "$usr/bin/velmora-cli" ] || fail "programs are not executable"
for size in 16 48 256; do
    png="$usr/share/icons/hicolor/${size}x${size}/apps/$id.png"
    # PNG header: width and height as big-endian 32-bit numbers at bytes 16 and 20.
    read -r w h < <(od -An -tu1 -j16 -N8 "$png" |
        awk '{ print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }')
    [ "$w" = "$size" ] && [ "$h" = "$size" ] || fail "icon $size is ${w}x$h"
done
echo "${#required[@]} files present"

echo "== validators"
desktop-file-validate "$usr/share/applications/$id.desktop"
appstreamcli validate --no-net "$usr/share/metainfo/$id.metainfo.xml"

echo "== programs"
# No display at all: --version must not need one.
version_gui=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$usr/bin/velmora" --version)
version_cli=$("$usr/bin/velmora-cli" --version)
echo "$version_gui"
echo "$version_cli"
[[ "$version_gui" == *[0-9].[0-9]* ]] || fail "velmora --version printed '$version_gui'"
[[ "$version_cli" == *[0-9].[0-9]* ]] || fail "velmora-cli --version printed '$version_cli'"

echo "== a small render"
export XDG_DATA_HOME="$work/data"
export SDL_AUDIODRIVER=dummy
cli="$usr/bin/velmora-cli"
album="假日 Holiday"
"$cli" album create "$album"
[ -f "$XDG_DATA_HOME/velmora/Album" ] || fail "the installed copy did not keep its store in XDG_DATA_HOME"
[ ! -e "$usr/bin/Album" ] || fail "the installed copy wrote its store beside the program"
# The shipped background pictures serve as the album's pictures and as its background.
mkdir -p "$XDG_DATA_HOME/velmora/BackPic"
cp "$usr"/share/velmora/backpic/*.jpg "$XDG_DATA_HOME/velmora/BackPic/"
"$cli" import-pictures "$album" "$usr"/share/velmora/backpic/sea.jpg \
    "$usr"/share/velmora/backpic/dawn.jpg
"$cli" edit-picture "$album" --all-dwell 1
"$cli" import-music "$album" "$here/audio/tests/data/short_1s.mp3"
"$cli" make "$album" --preset vcd --out "$work/holiday.mpg" --background-pictures --seed 7 \
    </dev/null | tail -n 1
[ -s "$work/holiday.mpg" ] || fail "no video written"
if command -v ffprobe >/dev/null; then
    codec=$(ffprobe -v error -select_streams v:0 -show_entries stream=codec_name,width \
        -of csv=p=0 "$work/holiday.mpg")
    [ "$codec" = "mpeg1video,352" ] || fail "video stream is '$codec'"
fi
echo "PASS"
