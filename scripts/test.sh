#!/usr/bin/env bash
# Fresh machine to green suite: installs the dependencies, builds and runs every test
# (GUI tests under Xvfb, network tests against peers the fixtures start on loopback),
# then the core tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${CORVANE_BUILD_DIR:-$root/build}
bash "$root/scripts/install-deps.sh"

# Formatting never drifts: every tracked C++ source must already be clang-formatted.
(cd "$root" && git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror)
bash "$root/scripts/build.sh"

# Tests never touch the real user's settings or files.
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export HOME=$tmp/home XDG_CONFIG_HOME=$tmp/config XDG_DATA_HOME=$tmp/data XDG_CACHE_HOME=$tmp/cache
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME"

(cd "$build" && ctest --output-on-failure -j "$(nproc)" "$@")

if [ "${CORVANE_SKIP_SANITIZERS:-0}" != 1 ]; then
  san=${CORVANE_SANITIZE_BUILD_DIR:-$root/build-sanitize}
  CORVANE_BUILD_DIR=$san bash "$root/scripts/build.sh" -DCORVANE_SANITIZE=ON -DCORVANE_BUILD_GUI=OFF \
    -DCORVANE_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
  (cd "$san" && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --output-on-failure -j "$(nproc)" -L unit)
fi
