#!/usr/bin/env bash
# Takes pictures of every settings editor and of the remote dialogs (the connection
# test with its popup, the folder browser) on a private Xvfb display, one PNG each,
# into the folder given (default: build/screenshots). Scenes may be named after the
# folder to take only those. Builds the screenshot program first; the remote dialogs
# talk to a recording FTP component, so no server is needed. Every scene is taken in
# the default theme and again in Adwaita's dark theme, into FOLDER/dark (colours must
# come from the theme). For double-size pictures:
#   GDK_SCALE=2 CORVANE_XVFB_SCREEN=2560x2048x24 scripts/screenshots.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${CORVANE_BUILD_DIR:-$root/build}
out=$(realpath -m "${1:-$build/screenshots}")
shift || true
mkdir -p "$out"
command -v import >/dev/null || { echo "needs ImageMagick (import)" >&2; exit 1; }
[ -f "$build/build.ninja" ] || cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target corvane_screenshots -j 2
scenes=("${@:-${CORVANE_SCREENSHOT_GROUP:-dialogs}}")
"$root/tests/run-gui-tests.sh" "$build/tools/screenshots/corvane_screenshots" "$out" "${scenes[@]}"
mkdir -p "$out/dark"
GTK_THEME=Adwaita:dark "$root/tests/run-gui-tests.sh" "$build/tools/screenshots/corvane_screenshots" "$out/dark" "${scenes[@]}"
