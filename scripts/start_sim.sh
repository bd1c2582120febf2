# Sourced by the demo scripts: start_tqr_sim COMMAND... runs a tqr-sim command
# line that listens on a free loopback port ("--port 0"), waits for the port it
# prints, and sets $sim (its process id) and $port. The caller's EXIT trap
# stops it: trap stop_tqr_sim EXIT.
start_tqr_sim() {
  sim_out=$(mktemp)
  "$@" >"$sim_out" &
  sim=$!
  port=""
  for _ in $(seq 100); do
    port=$(sed -n 's/^port \([0-9]*\)$/\1/p' "$sim_out")
    [[ -n $port ]] && break
    sleep 0.05
  done
  [[ -n $port ]] || { echo "tqr-sim did not start" >&2; return 1; }
}
stop_tqr_sim() {
  kill "$sim" 2>/dev/null
  wait "$sim" 2>/dev/null
  rm -f "$sim_out"
}
