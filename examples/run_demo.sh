#!/usr/bin/env bash
# Runs the demo programs from a build directory (default: build/): a simulated
# session, then a session with tqr-sim over TCP on a free loopback port.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}

echo "== 1. A simulated session (Simulate=true) through the C++ component interface =="
"$build/examples/motqr_demo"

echo
echo "== 2. tqr-sim, the bundled instrument simulator, on a 2 ohm load =="
source "$root/scripts/start_sim.sh"
trap stop_tqr_sim EXIT
start_tqr_sim "$build/sim/tqr-sim" --port 0 --load-ohms 2 --noise 0
echo "tqr-sim listens on 127.0.0.1:$port"
"$build/examples/motqr_instrument_tour" "TCPIP::127.0.0.1::$port::SOCKET"
if [[ -x $build/examples/motqr_c_example ]]; then
  echo
  echo "== 3. The same instrument from C (capi/motqr.h) =="
  "$build/examples/motqr_c_example" "TCPIP::127.0.0.1::$port::SOCKET"
fi
