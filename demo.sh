#!/usr/bin/env bash
# The showcase: builds the driver, starts tqr-sim (the bundled instrument
# simulator), takes a short tour of it with the motqr command-line tool and the
# C example, and stops the simulator.
#   ./demo.sh            build into build/ (or $MOTQR_BUILD_DIR) and run the tour
#   ./demo.sh --no-build run the tour from an existing build
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
build=${MOTQR_BUILD_DIR:-$root/build}
if [[ ${1:-} != --no-build ]]; then
  "$root/scripts/setup.sh"
  # A configured build folder keeps its options; a new one gets those ./test.sh
  # gives, so that a following ./test.sh neither rebuilds what the demo built nor
  # runs without tests. Only what the tour runs is built here.
  if [[ -f $build/CMakeCache.txt ]]; then
    cmake -S "$root" -B "$build" >/dev/null
  else
    cmake -S "$root" -B "$build" -G Ninja -DMOTQR_WERROR=ON -DMOTQR_BUILD_TESTS=ON \
      -DMOTQR_BUILD_BENCH=ON >/dev/null
  fi
  cmake --build "$build" -j "$(nproc)" --target motqr_tool tqr-sim motqr_c_example
fi
motqr=$build/tools/motqr
samples=tools/samples
[[ -x $motqr ]] || { echo "no $motqr: build first" >&2; exit 1; }

# tqr-sim on a free loopback port, through `motqr sim`, with a 2 ohm load.
source "$root/scripts/start_sim.sh"
trap stop_tqr_sim EXIT
start_tqr_sim "$motqr" sim --port 0 --load-ohms 2 --noise 0
export MOTQR_RESOURCE="TCPIP::127.0.0.1::$port::SOCKET"

bold="" plain=""
[[ -t 1 ]] && bold=$'\033[1m' plain=$'\033[0m'
step() { printf '\n%s== %s%s\n' "$bold" "$*" "$plain"; }
# Shows the command, then runs it; a failure is shown with its exit status.
run() {
  printf '$ motqr'
  local a
  for a in "$@"; do
    if [[ $a =~ ^[A-Za-z0-9_./:=,+-]+$ ]]; then printf ' %s' "$a"; else printf " '%s'" "$a"; fi
  done
  printf '\n'
  "$motqr" "$@" || echo "(exit status $?)"
}
cd "$root"

step "tqr-sim listens on 127.0.0.1:$port; motqr finds it through \$MOTQR_RESOURCE"
echo "MOTQR_RESOURCE=$MOTQR_RESOURCE"
run idn

step "Levels, the output, a measurement (5 V wanted, 1 A limit, 2 ohm load: 2 V in CC)"
run set output.voltage-level 5 output.current-level 1
run output on
run measure
run status
run get output.protection.ovp-level
run --json measure voltage

step "A value the instrument refuses: the driver's message and the instrument's error"
run set output.voltage-level 1e6

step "SCPI straight to the instrument, and its error queue"
run scpi '*IDN?' ':VOLT?'
run scpi ':NO:SUCH:COMMAND'
run errors

step "A step program from a CSV file, run with a live progress line"
run program create "$samples/charge.csv"
run program show charge
run program run charge

step "An I-V map written and read back as CSV"
run ivmap set voltage "$samples/iv_map.csv"
run ivmap get voltage
run output off

step "The same instrument from C (examples/c_example.c, capi/motqr.h)"
"$build/examples/motqr_c_example" "$MOTQR_RESOURCE"

step "Next"
echo "motqr --help, motqr list, docs/cli.md; source <(motqr completion bash) (or zsh, fish);"
echo "motqr --log-io FILE logs every byte; examples/run_demo.sh runs the C++ examples."
echo "motqr panel: the same instrument in a browser, live readings, a chart and every control (docs/panel.md)."
