#!/usr/bin/env bash
# Installs every Debian package Velmora needs to build, test and render.
# Idempotent: when everything is present it only runs one dpkg query and returns.
set -euo pipefail

PACKAGES=(
    # build and test tools
    build-essential cmake ninja-build pkg-config git
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev
    # GUI toolkit, text, code pages
    qt6-base-dev libfreetype-dev libfontconfig-dev fonts-arphic-uming
    libcli11-dev nlohmann-json3-dev
    # imaging
    libjpeg62-turbo-dev libpixman-1-dev libwmf-dev libemf2svg-dev librsvg2-dev libcairo2-dev
    fonts-urw-base35 libjpeg-turbo-progs
    # desktop program: widgets, Chinese texts of Qt's own dialogs, window tests and screenshots
    qt6-translations-l10n xvfb xauth ccache
    # English windows: Qt's Linguist tools (lupdate, lrelease and their CMake functions)
    qt6-l10n-tools qt6-tools-dev
    # installing and packaging: icons drawn from SVG, the .deb and its validators
    librsvg2-bin dpkg-dev fakeroot desktop-file-utils appstream lintian
    # audio and video
    libavcodec-dev libavformat-dev libavutil-dev libswscale-dev libswresample-dev libsdl2-dev
    # independent tools that make fixtures and check output
    ffmpeg lame imagemagick libtiff-tools dvdauthor vcdimager python3
)

missing=()
for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi
echo "setup: installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
