# Helpers for the scripts that check and show the programs, which source this
# file and set $work to a scratch folder of their own and $pids to the
# processes to end at exit.

passed=0
failed=0

# check NAME COMMAND...: counts a check, which passes when COMMAND succeeds;
# the command's output shows when it fails.
check() {
  local name=$1
  shift
  if "$@" >"$work/out" 2>&1; then
    passed=$((passed + 1))
    echo "ok    $name"
  else
    failed=$((failed + 1))
    echo "FAIL  $name: $*"
    sed 's/^/      /' "$work/out"
  fi
}

# checks_done: prints "N passed, N failed" and fails when one failed.
checks_done() {
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}

# wait_for FILE PATTERN: until FILE has a line matching the extended regular
# expression PATTERN, 30 s at most. Line ends may be CR LF (Windows programs').
wait_for() {
  for _ in $(seq 300); do
    tr -d '\r' <"$1" 2>/dev/null | grep -Eq -- "$2" && return 0
    sleep 0.1
  done
  return 1
}

# start_xvfb: starts a virtual X display of this script's own and sets DISPLAY.
start_xvfb() {
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
  pids+=($!)
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] || { echo "Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; return 1; }
  DISPLAY=:$(cat "$work/display")
  export DISPLAY
}

# window_of PID [NAME]: the newest visible window of process PID whose name
# matches NAME (any name by default), waiting for it 15 s at most.
window_of() {
  local id
  for _ in $(seq 150); do
    id=$(xdotool search --onlyvisible --pid "$1" --name "${2:-.}" 2>/dev/null | tail -1 || true)
    [ -n "$id" ] && { echo "$id"; return; }
    sleep 0.1
  done
  echo "$(basename "$0"): no window of process $1 named '${2:-.}' appeared" >&2
  return 1
}

# stop_processes: ends the processes in $pids and waits for them.
stop_processes() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
}
