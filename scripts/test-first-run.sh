#!/usr/bin/env bash
# Tries `bash scripts/run.sh` as a new user would, on a virtual X display
# (Xvfb) with a profile and virtual port directory of its own: OK in the COM
# port dialog must open the script's simulator when no port is saved and when
# the saved one is not there, and the saved port when it is there. Prints
# "N passed, N failed".
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
sim=$PWD/${BUILD_DIR:-build}/sim/tarnel-sim

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "test-first-run: Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$(cat "$work/display") QT_QPA_PLATFORM=xcb LANGUAGE=en LANG=C.UTF-8 LC_ALL=
mkdir -p "$work/run" && chmod 700 "$work/run"
export XDG_RUNTIME_DIR=$work/run XDG_CONFIG_HOME=$work/config
profile="$work/config/Quillmore/Tarnel Manager.conf"
ports=$work/run/tarnel-ports

# wait_for FILE PATTERN: until FILE has a line matching PATTERN, 30 s at most.
wait_for() {
  for _ in $(seq 300); do
    grep -Eq -- "$2" "$1" 2>/dev/null && return 0
    sleep 0.1
  done
  return 1
}

passed=0
failed=0
# report NAME OK DETAIL
report() {
  if [ "$2" = yes ]; then
    passed=$((passed + 1))
    echo "ok    $1"
  else
    failed=$((failed + 1))
    echo "FAIL  $1: $3"
    sed 's/^/      /' "$work/run.out"
  fi
}

# A second module whose port the dialog lists before the script's simulator,
# as it would list /dev/ttyS0, so that OK opens the simulator only when its
# port is the one saved.
"$sim" --link a-module >"$work/other.out" 2>&1 &
pids+=($!)
wait_for "$work/other.out" 'module on' || { echo "test-first-run: the second simulator did not start" >&2; exit 1; }

# first_run NAME LOG: starts run.sh, presses Enter (OK) in the COM port
# dialog, and reports whether the configurator's first command reached the
# module whose output is LOG; then closes the program, which ends run.sh.
first_run() {
  local name=$1 log=$2 run_pid window= app_pid= ok=no
  bash scripts/run.sh >"$work/run.out" 2>&1 &
  run_pid=$!
  # The display is this test's own: its only window is the program's.
  for _ in $(seq 300); do
    window=$(xdotool search --onlyvisible --name . 2>/dev/null | tail -1 || true)
    [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] && app_pid=$(xdotool getwindowpid "$window" 2>/dev/null || true)
  if [ -n "$app_pid" ]; then
    xdotool windowfocus --sync "$window" key Return
    wait_for "$log" '^<- AT$' && ok=yes
    kill "$app_pid"
  else
    kill "$run_pid"
  fi
  wait "$run_pid" 2>/dev/null || true
  report "$name" "$ok" "no AT command reached $log"
}

first_run "an empty profile: OK opens the simulator" "$work/run.out"

printf '[Default%%20Values]\nApplication%%20COM%%20port=/dev/ttyTARNEL9\nApplication%%20buadrate=9600\n' >"$profile"
first_run "a saved port that is not there: OK opens the simulator" "$work/run.out"
saved=$(grep -c '^Application%20buadrate=9600$' "$profile" || true)
report "  the profile's other values are kept" "$([ "$saved" = 1 ] && echo yes || echo no)" "$(cat "$profile")"

printf '[Default%%20Values]\nApplication%%20COM%%20port=%s\n' "$ports/a-module" >"$profile"
first_run "a saved port that is there: OK opens it" "$work/other.out"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
