#!/usr/bin/env bash
# Configures and builds into build/ (or $MOTQR_BUILD_DIR). Extra arguments go to cmake.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${MOTQR_BUILD_DIR:-$root/build}
# MOTQR_ONLY is reset: a development build dir may have limited it.
cmake -S "$root" -B "$dir" -G Ninja -DMOTQR_ONLY= "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)"
