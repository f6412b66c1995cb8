#!/usr/bin/env bash
# Sets up and builds, then starts Tarnel Manager with the module simulator
# (tarnel-sim) on a virtual port, so that every function can be tried without
# a module. Arguments go to the simulator (see build/sim/tarnel-sim --help),
# for example --quiet or --uart 115200,E,1. The simulator stops when Tarnel
# Manager exits.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
bash scripts/build.sh

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat >&2 <<'MSG'
run: no display is available (neither DISPLAY nor WAYLAND_DISPLAY is set).
run: Tarnel Manager is built, but it is a desktop program: start this script from a desktop
run: session, or over ssh with X forwarding (ssh -X). Without a display,
run: 'bash scripts/test.sh' still builds and tests everything.
MSG
  exit 1
fi

build_dir=${BUILD_DIR:-build}
sim=$build_dir/sim/tarnel-sim
app=$build_dir/app/tarnel-manager
for program in "$sim" "$app"; do
  if [ ! -x "$program" ]; then
    echo "run: $program was not built." >&2
    exit 1
  fi
done

log=$(mktemp)
# The simulator's output goes to the terminal (it shows every command the
# program sends) and to the log, from which its port is read.
"$sim" "$@" > >(tee "$log") 2>&1 &
sim_pid=$!
stop_sim() {
  kill "$sim_pid" 2>/dev/null || true
  wait "$sim_pid" 2>/dev/null || true
  rm -f "$log"
}
trap stop_sim EXIT

port=
for _ in $(seq 100); do
  port=$(sed -n 's/^tarnel-sim: module on \([^ ]*\).*/\1/p' "$log")
  [ -n "$port" ] && break
  if ! kill -0 "$sim_pid" 2>/dev/null; then
    echo "run: the simulator did not start." >&2
    exit 1
  fi
  sleep 0.1
done
if [ -z "$port" ]; then
  echo "run: the simulator did not report its port." >&2
  exit 1
fi

echo "run: choose $port in the COM port dialog, with the simulator's UART settings (9600, NONE, 1 unless given)."
status=0
"$app" || status=$?
if [ "$status" -ne 0 ]; then
  echo "run: Tarnel Manager exited with status $status." >&2
fi
exit "$status"
