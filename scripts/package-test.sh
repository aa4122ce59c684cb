#!/usr/bin/env bash
# Checks the Debian package built in BUILD_DIR (make package): lintian finds no error, and the
# package unpacked into a temporary root holds every file and runs (tests/installed_program_test.sh).
set -euo pipefail
build=${1:-build-package}
here=$(cd "$(dirname "$0")/.." && pwd)
shopt -s nullglob
packages=("$build"/velmora_*.deb)
[ ${#packages[@]} -eq 1 ] || { echo "expected one package in $build, found ${#packages[@]}" >&2; exit 1; }
deb=${packages[0]}
echo "== $deb"
# The whole control record (dependencies included) and the package's size.
dpkg-deb --field "$deb"
echo "package size: $(stat -c %s "$deb") bytes"
echo "== lintian"
# Errors fail the check; warnings and notes are printed for the reader.
lintian --fail-on error --display-info "$deb"
echo "lintian: no errors"
bash "$here/tests/installed_program_test.sh" --deb "$deb"
