#!/usr/bin/env bash
# Fresh machine to running program: installs the dependencies, builds and starts Corvane.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh"
exec "${CORVANE_BUILD_DIR:-$root/build}/corvane" "$@"
