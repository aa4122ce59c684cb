#!/usr/bin/env bash
# Runs every benchmark of the build folder one after the other; each prints its own figures.
set -euo pipefail
build=${1:-build-release}
shopt -s nullglob
for bench in "$build"/*_bench; do
    echo "== $(basename "$bench")"
    "$bench"
done
