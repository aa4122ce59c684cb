#!/usr/bin/env bash
# Builds the given test executables in a ThreadSanitizer build folder and runs each with its
# test filter. Arguments: build folder, parallel jobs, then executable=gtest-filter pairs.
# Any ThreadSanitizer report fails the run. Suppressions, if ever needed, go into
# scripts/tsan-suppressions.txt, each with a comment that says why it is not a fault of ours.
set -euo pipefail
build=$1
jobs=$2
shift 2
here=$(cd "$(dirname "$0")/.." && pwd)
targets=()
for entry in "$@"; do targets+=("${entry%%=*}"); done
cmake --build "$build" -j "$jobs" --target "${targets[@]}"
options="halt_on_error=1 second_deadlock_stack=1 report_signal_unsafe=0"
if [ -f "$here/scripts/tsan-suppressions.txt" ]; then
    options="$options suppressions=$here/scripts/tsan-suppressions.txt"
fi
status=0
for entry in "$@"; do
    exe=${entry%%=*}
    filter=${entry#*=}
    echo "== $exe under ThreadSanitizer: $filter"
    if ! (cd "$build" && TSAN_OPTIONS="$options" SDL_AUDIODRIVER=dummy QT_QPA_PLATFORM=offscreen \
        "./$exe" --gtest_filter="$filter" --gtest_brief=1); then
        echo "run-tsan: $exe failed" >&2
        status=1
    fi
done
exit $status
