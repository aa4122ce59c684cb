#!/usr/bin/env bash
# The program's main job on a demo store: make an album store beside the build and show it.
set -euo pipefail
build=${1:-build-release}
here=$(cd "$(dirname "$0")/.." && pwd)
cli="$build/velmora-cli"
store="$here/demo/store"
rm -rf "$store"
mkdir -p "$store"
"$cli" --store "$store" album create "旅行 Travel 2026"
"$cli" --store "$store" album create "Family"
"$cli" --store "$store" album list
echo "demo store: $store"
