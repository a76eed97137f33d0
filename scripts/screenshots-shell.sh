#!/usr/bin/env bash
# Takes pictures of the artwork, the controls, the main window (four list styles,
# each menu open, the context menu) and the About box: screenshots.sh with the
# shell's scenes. Usage: screenshots-shell.sh [folder] [scene ...]
set -euo pipefail
CORVANE_SCREENSHOT_GROUP=shell exec bash "$(dirname "$0")/screenshots.sh" "$@"
