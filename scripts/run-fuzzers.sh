#!/usr/bin/env bash
# Runs every fuzz target of the build folder for a bounded time from its seed corpus
# (fuzz/corpus/<target>/). Any crash or sanitizer report fails the run.
set -euo pipefail
build=${1:-build-fuzz}
seconds=${2:-60}
here=$(cd "$(dirname "$0")/.." && pwd)
shopt -s nullglob
targets=("$build"/*_fuzz)
if [ ${#targets[@]} -eq 0 ]; then
    echo "run-fuzzers: no fuzz targets in $build" >&2
    exit 0
fi
for target in "${targets[@]}"; do
    name=$(basename "$target")
    seeds="$here/fuzz/corpus/$name"
    work=$(mktemp -d)
    [ -d "$seeds" ] && cp -r "$seeds"/. "$work"/
    echo "== $name for ${seconds}s"
    "$target" -artifact_prefix="$build/$name-" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 "$work" 2>&1 | tail -n 3
    status=${PIPESTATUS[0]}
    rm -rf "$work"
    if [ "$status" -ne 0 ]; then
        echo "run-fuzzers: $name failed" >&2
        exit 1
    fi
done
