#!/usr/bin/env bash
# The driver against its peers on one tqr-sim over loopback, server and client
# pinned to the same CPU, in one run: a query table (":VOLT?" round trips, over
# the raw socket and also over VXI-11 and HiSLIP) and a bulk table (a 1 MiB I-V
# map block and a 100,000-value logged list, over the raw socket).
#
#   bench/compare.sh [-b BUILD_DIR] [-B BASE_BUILD_DIR] [-c CPU] [-n QUERIES] [-r ROUNDS]
#                    [-p PASSES]
#
# With -B, the driver's clients of a second build (an earlier commit, say) take
# their turns beside the others, in rows with the suffix "-base": a before and
# after in one run against one server.
# Clients: peer_raw (plain C socket, the floor), peer_motqr_c (the driver's C
# functions), peer_motqr_cpp (its C++ interface), peer_lxi (liblxi, when it was
# found at build time), peer_pyvisa.py (PyVISA with pyvisa-py, when
# /usr/bin/python3 can import it) and peer_motqr_py.py (the driver's Python module,
# when it was built). Over VXI-11 (rows "<client>/vxi11": the driver, liblxi,
# pyvisa-py; needs the simulator's portmapper on port 111, so root) and HiSLIP
# (rows "<client>/hislip": the driver). The clients take turns for PASSES passes and
# each figure is the median over the passes. Needs taskset; the peers are
# optional (apt-get install python3-pyvisa-py liblxi-dev) and only used here.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${MOTQR_BUILD_DIR:-$root/build}
base=
cpu=0
queries=20000
rounds=20
passes=3
map_points=131072 # 1 MiB of map data (8 bytes a point)
list_values=100000
while getopts "b:B:c:n:r:p:h" opt; do
  case $opt in
    b) build=$(cd "$OPTARG" && pwd) ;;
    B) base=$(cd "$OPTARG" && pwd) ;;
    c) cpu=$OPTARG ;;
    n) queries=$OPTARG ;;
    r) rounds=$OPTARG ;;
    p) passes=$OPTARG ;;
    *) sed -n '2,21p' "$0"; exit 2 ;;
  esac
done

sim=$build/sim/tqr-sim
bin=$build/bench
for tool in "$sim" "$bin/peer_raw" "$bin/peer_motqr_c" "$bin/peer_motqr_cpp"; do
  [[ -x $tool ]] || { echo "missing $tool (build the bench targets in $build)" >&2; exit 1; }
done
command -v taskset > /dev/null || { echo "taskset is needed" >&2; exit 1; }

clients=("$bin/peer_raw" "$bin/peer_motqr_c" "$bin/peer_motqr_cpp")
if [[ -n $base ]]; then
  for tool in "$base/bench/peer_motqr_c" "$base/bench/peer_motqr_cpp"; do
    [[ -x $tool ]] || { echo "missing $tool (build the bench targets in $base)" >&2; exit 1; }
  done
  # "base" runs the client after it and names its rows "<name>-base".
  clients+=("base $base/bench/peer_motqr_c" "base $base/bench/peer_motqr_cpp")
fi
bulk_clients=("${clients[@]}")
if [[ -x $bin/peer_lxi ]]; then
  clients+=("$bin/peer_lxi")
else
  echo "# liblxi: not built (apt-get install liblxi-dev, then rebuild)" >&2
fi
if /usr/bin/python3 -c 'import pyvisa, pyvisa_py' 2> /dev/null; then
  clients+=("/usr/bin/python3 $root/bench/peer_pyvisa.py")
  bulk_clients+=("/usr/bin/python3 $root/bench/peer_pyvisa.py")
else
  echo "# pyvisa-py: not installed (apt-get install python3-pyvisa-py)" >&2
fi
if compgen -G "$build/python/motqr*.so" > /dev/null; then
  clients+=("env PYTHONPATH=$build/python /usr/bin/python3 $root/bench/peer_motqr_py.py")
  bulk_clients+=("env PYTHONPATH=$build/python /usr/bin/python3 $root/bench/peer_motqr_py.py")
else
  echo "# motqr Python module: not built" >&2
fi

work=$(mktemp -d)
sim_pid=
cleanup() {
  [[ -n $sim_pid ]] && kill "$sim_pid" 2> /dev/null && wait "$sim_pid" 2> /dev/null
  rm -rf "$work"
}
trap cleanup EXIT

taskset -c "$cpu" "$sim" --port 0 --noise 0 --iv-max-points "$map_points" \
  --log-capacity "$list_values" --vxi11 --hislip 0 > "$work/sim.out" &
sim_pid=$!
# The value of the simulator's line "KEY VALUE", once the line is whole (read
# skips a last line that is still being written).
sim_value() {
  local key value
  while read -r key value; do
    [[ $key == "$1" ]] && { echo "$value"; return; }
  done < "$work/sim.out"
}
for _ in $(seq 50); do
  port=$(sim_value port)
  hislip=$(sim_value hislip)
  [[ -n $port && -n $hislip ]] && break
  sleep 0.1
done
[[ -n ${port:-} && -n ${hislip:-} ]] || { echo "tqr-sim did not start" >&2; exit 1; }

# Query loops over the other wires: "--wire W client".
wire_runs=()
if [[ $(sim_value portmapper) == 111 ]]; then
  for client in "${clients[@]}"; do
    # The raw client and the Python module's speak only the socket; the earlier build's
    # clients run on the socket alone.
    [[ $client == */peer_raw || $client == *peer_motqr_py.py || $client == base* ]] ||
      wire_runs+=("--wire vxi11 $client")
  done
else
  echo "# VXI-11: port 111 could not be served (run as root with no other portmapper)" >&2
fi
wire_runs+=("--wire hislip:$hislip $bin/peer_motqr_c" "--wire hislip:$hislip $bin/peer_motqr_cpp")

run() { # client words..., loop arguments...
  if [[ $1 == base ]]; then
    shift
    timeout 600 taskset -c "$cpu" "$@" | sed 's/^RESULT \([^ ]*\)/RESULT \1-base/' \
      >> "$work/results" || echo "# failed: $*" >&2
    return
  fi
  timeout 600 taskset -c "$cpu" "$@" >> "$work/results" || echo "# failed: $*" >&2
}
for ((pass = 0; pass < passes; ++pass)); do
  for client in "${clients[@]}"; do
    # shellcheck disable=SC2086  # the python client is two words
    run $client "$port" query "$queries"
  done
  for entry in "${wire_runs[@]}"; do
    read -r flag wire client <<< "$entry"
    # shellcheck disable=SC2086  # the python client is two words
    run $client $flag $wire "$port" query "$queries"
  done
  for client in "${bulk_clients[@]}"; do
    # shellcheck disable=SC2086
    run $client "$port" ivmap "$map_points" "$rounds"
    # shellcheck disable=SC2086
    run $client "$port" list "$list_values" "$rounds"
  done
done

echo "tqr-sim and clients pinned to CPU $cpu; $passes passes, medians over the passes"
echo "$(uname -srm), $(nproc) CPUs, $(date -u +%Y-%m-%d)"
awk -v queries="$queries" -v rounds="$rounds" '
  function median(list,   n, a, i, j, t) {
    n = split(list, a, " ")
    for (i = 2; i <= n; ++i) for (j = i; j > 1 && a[j - 1] + 0 > a[j] + 0; --j) {
      t = a[j]; a[j] = a[j - 1]; a[j - 1] = t
    }
    return a[int((n + 1) / 2)]
  }
  function add(key, value) { v[key] = (key in v) ? v[key] " " value : value }
  $1 == "RESULT" {
    if (!(($2) in seen)) { seen[$2] = 1; order[++clients] = $2 }
    kind[$2, $3] = 1
    size[$3] = $4
    add($2 SUBSEP $3 SUBSEP 1, $5)
    add($2 SUBSEP $3 SUBSEP 2, $6)
    if ($3 == "query") add($2 SUBSEP $3 SUBSEP 3, $7)
  }
  END {
    printf "\n:VOLT? round trips (%d per client and pass)\n\n", queries
    printf "| client | median us | p99 us | CPU us/query | median / raw | CPU / raw |\n"
    printf "|---|---:|---:|---:|---:|---:|\n"
    rm = median(v["raw-c", "query", 1]); rc = median(v["raw-c", "query", 3])
    for (i = 1; i <= clients; ++i) {
      c = order[i]
      if (!((c, "query") in kind)) continue
      m = median(v[c, "query", 1]); p = median(v[c, "query", 2]); u = median(v[c, "query", 3])
      printf "| %s | %.1f | %.1f | %.1f | %.2f | %.2f |\n", c, m, p, u, m / rm, u / rc
    }
    printf "\nBulk reads (%d rounds per client and pass; medians)\n\n", rounds
    printf "| client | 1 MiB map block ms | MB/s | / raw | %d-value list ms | M values/s | / raw |\n", size["list"]
    printf "|---|---:|---:|---:|---:|---:|---:|\n"
    rb = median(v["raw-c", "ivmap", 1]); rl = median(v["raw-c", "list", 1])
    for (i = 1; i <= clients; ++i) {
      c = order[i]
      if (!((c, "ivmap") in kind)) continue
      b = median(v[c, "ivmap", 1]); l = median(v[c, "list", 1])
      printf "| %s | %.2f | %.0f | %.2f | %.2f | %.2f | %.2f |\n", c, b / 1000,
             size["ivmap"] / b, b / rb, l / 1000, size["list"] / l, l / rl
    }
  }' "$work/results"
