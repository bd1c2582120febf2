#!/usr/bin/env bash
# Builds the driver and runs the demo against the bundled instrument simulator.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" -DMOTQR_BUILD_TESTS=OFF -DMOTQR_BUILD_BENCH=OFF
exec "$root/examples/run_demo.sh" "${MOTQR_BUILD_DIR:-$root/build}"
