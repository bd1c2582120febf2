#!/usr/bin/env bash
# Configures and builds into build/ (or $MOTQR_BUILD_DIR). Extra arguments go to cmake.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${MOTQR_BUILD_DIR:-$root/build}
cmake -S "$root" -B "$dir" -G Ninja "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)"
