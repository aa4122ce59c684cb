#!/usr/bin/env bash
# The program's main job on a demo store: make an album store beside the build and show it
# through the command line (catalogue, pictures and songs of an album).
set -euo pipefail
build=${1:-build-release}
here=$(cd "$(dirname "$0")/.." && pwd)
cli="$build/velmora-cli"
store="$here/demo/store"
rm -rf "$store"
mkdir -p "$store"
run() {
    echo "\$ velmora-cli $*"
    "$cli" --store "$store" "$@"
    echo
}
run album create "旅行 Travel 2026"
run album create "Family"
run album create "Family" || true   # refused: the name exists
run album list
run album list --json
run pics "旅行 Travel 2026"
run songs "旅行 Travel 2026" --json
run album delete "Family"
run album list
echo "demo store: $store"
