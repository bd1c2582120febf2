#!/usr/bin/env bash
# Runs the demo programs from a build directory (default: build/).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
echo "== motqr demo: a simulated session through the C++ component interface =="
"$build/examples/motqr_demo"
