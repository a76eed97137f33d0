#!/usr/bin/env bash
# Takes pictures of the artwork, the controls, the main window (four list styles,
# each menu open, the context menu) and the About box on a private Xvfb display,
# into the folder given (default: build/screenshots). Scenes may be named after
# the folder to take only those. Builds the screenshot program first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${CORVANE_BUILD_DIR:-$root/build}
out=$(realpath -m "${1:-$build/screenshots}")
shift || true
mkdir -p "$out"
command -v import >/dev/null || { echo "needs ImageMagick (import)" >&2; exit 1; }
[ -f "$build/build.ninja" ] || cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target corvane_screenshots -j 2
"$root/tests/run-gui-tests.sh" "$build/tools/screenshots/corvane_screenshots" "$out" "$@"
