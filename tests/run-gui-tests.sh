#!/usr/bin/env bash
# Runs the GUI test executable on a private Xvfb display with a private home,
# so no test can read or change the real user's settings or desktop files.
set -euo pipefail
exe=$1; shift
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export HOME=$tmp/home XDG_CONFIG_HOME=$tmp/config XDG_DATA_HOME=$tmp/data XDG_CACHE_HOME=$tmp/cache
export XDG_RUNTIME_DIR=$tmp/run NO_AT_BRIDGE=1 GTK_A11Y=none
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
# A larger screen for pictures at GDK_SCALE=2: CORVANE_XVFB_SCREEN=2560x2048x24.
exec xvfb-run -a -s "-screen 0 ${CORVANE_XVFB_SCREEN:-1280x1024x24}" dbus-run-session -- "$exe" "$@"
