#!/usr/bin/env bash
# Tries `bash scripts/run.sh` as a new user would, on a virtual X display
# (Xvfb) with a profile and virtual port directory of its own: OK in the COM
# port dialog must open the script's simulator at its settings when no port is
# saved and when the saved one is a virtual port that is gone, and the saved
# port otherwise, a device port even when it is unplugged. Prints
# "N passed, N failed".
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
sim=$PWD/${BUILD_DIR:-build}/sim/tarnel-sim
. scripts/lib/helpers.sh

work=$(mktemp -d)
pids=()
trap 'stop_processes; rm -rf "$work"' EXIT

start_xvfb
export QT_QPA_PLATFORM=xcb LANGUAGE=en LANG=C.UTF-8 LC_ALL=
mkdir -p "$work/run" && chmod 700 "$work/run"
export XDG_RUNTIME_DIR=$work/run XDG_CONFIG_HOME=$work/config
profile="$work/config/Quillmore/Tarnel Manager.conf"

# A second module whose port the dialog lists before the script's simulator,
# as it would list /dev/ttyS0, so that OK opens the simulator only when its
# port is the one saved.
"$sim" --link a-module >"$work/other.out" 2>&1 &
pids+=($!)
wait_for "$work/other.out" 'module on' || { echo "test-first-run: the second simulator did not start" >&2; exit 1; }

# first_run LOG: starts run.sh, presses Enter (OK) in the COM port dialog and
# succeeds when the configurator's first command reaches the module whose
# output is LOG; then closes the program, which ends run.sh.
first_run() {
  local log=$1 run_pid window= app_pid= status=1
  bash scripts/run.sh >"$work/run.out" 2>&1 &
  run_pid=$!
  # The display is this script's own: its only window is the program's.
  for _ in $(seq 300); do
    window=$(xdotool search --onlyvisible --name . 2>/dev/null | tail -1 || true)
    [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] && app_pid=$(xdotool getwindowpid "$window" 2>/dev/null || true)
  if [ -n "$app_pid" ]; then
    xdotool windowfocus --sync "$window" key Return
    wait_for "$log" '^<- AT$' && status=0
    kill "$app_pid"
  else
    kill "$run_pid"
  fi
  wait "$run_pid" 2>/dev/null || true
  [ "$status" -eq 0 ] || { echo "no AT command reached $log; run.sh said:"; cat "$work/run.out"; }
  return "$status"
}

check "an empty profile: OK opens the simulator" first_run "$work/run.out"

printf '[Default%%20Values]\nApplication%%20COM%%20port=%s\nApplication%%20buadrate=115200\nApplicatoin%%20Op%%20Mode=1\n' \
  "$XDG_RUNTIME_DIR/tarnel-ports/gone" >"$profile"
check "a saved virtual port that is gone: OK opens the simulator at its settings" first_run "$work/run.out"
check "  its baud rate is saved" grep -qx 'Application%20buadrate=9600' "$profile"
check "  the profile's other values are kept" grep -qx 'Applicatoin%20Op%20Mode=1' "$profile"

printf '[Default%%20Values]\nApplication%%20COM%%20port=/dev/ttyTARNEL9\n' >"$profile"
# Whatever OK then does, run.sh left the user's port as it was.
kept_unplugged() {
  first_run "$work/run.out" >/dev/null || true
  grep -q 'proposes /dev/ttyTARNEL9, chosen last time' "$work/run.out"
}
check "a saved device port that is unplugged is kept" kept_unplugged

printf '[Default%%20Values]\nApplication%%20COM%%20port=%s\n' "$XDG_RUNTIME_DIR/tarnel-ports/a-module" >"$profile"
check "a saved port that is there: OK opens it" first_run "$work/other.out"

checks_done
