#!/usr/bin/env bash
# Fresh machine to green suite: installs the dependencies, builds and runs every test
# (GUI tests under Xvfb, network tests against peers the fixtures start on loopback).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${CORVANE_BUILD_DIR:-$root/build}
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh"
cd "$build"
# Tests never touch the real user's settings or files.
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export HOME=$tmp/home XDG_CONFIG_HOME=$tmp/config XDG_DATA_HOME=$tmp/data XDG_CACHE_HOME=$tmp/cache
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME"
ctest --output-on-failure -j "$(nproc)" "$@"
