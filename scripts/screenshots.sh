#!/usr/bin/env bash
# Opens every settings editor on a private Xvfb display and saves one PNG per dialog
# into the folder given (default: build/screenshots). Builds the GUI tests first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${CORVANE_BUILD_DIR:-$root/build}
out=$(realpath -m "${1:-$build/screenshots}")
mkdir -p "$out"
command -v import >/dev/null || { echo "needs ImageMagick (import)" >&2; exit 1; }
[ -f "$build/build.ninja" ] || cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target corvane_gui_tests -j 2
CORVANE_SCREENSHOT_DIR=$out "$root/tests/run-gui-tests.sh" "$build/tests/corvane_gui_tests" \
    --gtest_filter='DlgScreenshots.*:RemoteScreenshots.*'
ls "$out"/*.png
