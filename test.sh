#!/usr/bin/env bash
# Builds everything and runs every test; exits non-zero on any failure.
#   ./test.sh            normal build (warnings are errors)
#   ./test.sh asan       AddressSanitizer + UndefinedBehaviorSanitizer build
#   ./test.sh tsan       ThreadSanitizer build
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
mode=${1:-normal}
"$root/scripts/setup.sh"
# Sanitizer builds: no benchmarks, -O1 with line tables only (stack traces keep file and
# line; the build takes about a third less time than -O2 -g).
sanitized=(-DMOTQR_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo
           "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG"
           "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG")
case "$mode" in
  normal) dir=${MOTQR_BUILD_DIR:-$root/build}; extra=(-DMOTQR_BUILD_BENCH=ON) ;;
  asan)   dir=$root/build-asan; extra=(-DMOTQR_SANITIZE=address "${sanitized[@]}") ;;
  tsan)   dir=$root/build-tsan; extra=(-DMOTQR_SANITIZE=thread "${sanitized[@]}") ;;
  *) echo "usage: $0 [normal|asan|tsan]" >&2; exit 2 ;;
esac
# The options a test run needs are given every time: a build folder configured
# otherwise before (by hand, or an older demo) keeps them in its cache.
MOTQR_BUILD_DIR=$dir "$root/scripts/build.sh" -DMOTQR_WERROR=ON -DMOTQR_BUILD_TESTS=ON \
  "${extra[@]}"
cd "$dir"
# A build without tests is a failure, not a pass.
ctest --output-on-failure --no-tests=error -j "$(nproc)"
