#!/usr/bin/env bash
# Builds everything and runs every test; exits non-zero on any failure.
#   ./test.sh            normal build (warnings are errors)
#   ./test.sh asan       AddressSanitizer + UndefinedBehaviorSanitizer build
#   ./test.sh tsan       ThreadSanitizer build
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
mode=${1:-normal}
"$root/scripts/setup.sh"
case "$mode" in
  normal) dir=${MOTQR_BUILD_DIR:-$root/build}; extra=() ;;
  asan)   dir=$root/build-asan; extra=(-DMOTQR_SANITIZE=address -DMOTQR_BUILD_BENCH=OFF) ;;
  tsan)   dir=$root/build-tsan; extra=(-DMOTQR_SANITIZE=thread -DMOTQR_BUILD_BENCH=OFF) ;;
  *) echo "usage: $0 [normal|asan|tsan]" >&2; exit 2 ;;
esac
MOTQR_BUILD_DIR=$dir "$root/scripts/build.sh" -DMOTQR_WERROR=ON "${extra[@]}"
cd "$dir"
ctest --output-on-failure -j "$(nproc)"
