#!/usr/bin/env bash
# Takes screenshots of the main window (four list styles, each menu open, the
# context menu) and of the About box on a private Xvfb display, into the folder
# given (default: build/screenshots). Builds the GUI tests first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${CORVANE_BUILD_DIR:-$root/build}
out=$(realpath -m "${1:-$build/screenshots}")
mkdir -p "$out"
[ -f "$build/build.ninja" ] || cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target corvane_gui_tests -j 2
CORVANE_SCREENSHOT_DIR=$out "$root/tests/run-gui-tests.sh" "$build/tests/corvane_gui_tests" \
    --gtest_filter='ShellScreenshots.*'
ls "$out"/*.png
