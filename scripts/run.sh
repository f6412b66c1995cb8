#!/usr/bin/env bash
# Sets up and builds, then starts Tarnel Manager with the module simulator
# (tarnel-sim) on a virtual port, so that every function can be tried without
# a module. Arguments go to the simulator (see build/sim/tarnel-sim --help),
# for example --quiet or --uart 115200,E,1. The simulator stops when Tarnel
# Manager exits. When no port is saved in the profile yet, or the saved one is
# a virtual port's link that is gone (a simulator's of an earlier run), the
# simulator's port and its UART settings are saved as the chosen ones, so that
# OK in the COM port dialog opens it at the settings it hears. Any other saved
# port stays: a device port is the user's own, plugged in or not.
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
ctl=$build_dir/ctl/tarnelctl
for program in "$sim" "$app" "$ctl"; do
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
framing=
for _ in $(seq 100); do
  port=$(sed -n 's/^tarnel-sim: module on \([^ ]*\).*/\1/p' "$log")
  # "   UART 9600,N,1; ...": baud rate, parity letter, stop bits.
  framing=$(sed -n 's/^ *UART \([0-9]*\),\([NEO]\),\([12]\).*/\1 \2 \3/p' "$log")
  [ -n "$port" ] && [ -n "$framing" ] && break
  if ! kill -0 "$sim_pid" 2>/dev/null; then
    echo "run: the simulator did not start." >&2
    exit 1
  fi
  sleep 0.1
done
if [ -z "$port" ] || [ -z "$framing" ]; then
  echo "run: the simulator did not report its port and UART settings." >&2
  exit 1
fi

# The profile as Tarnel Manager keeps it (QSettings' INI file): the section
# and key names with their spaces written as %20.
profile=${XDG_CONFIG_HOME:-$HOME/.config}/Quillmore/Tarnel\ Manager.conf
section='[Default%20Values]'
key='Application%20COM%20port'

# The saved port, without the quotes QSettings may put around it.
saved_port() {
  [ -f "$profile" ] || return 0
  awk -v section="$section" -v key="$key" '
    /^\[/ { inside = ($0 == section) }
    inside && index($0, key "=") == 1 {
      value = substr($0, length(key) + 2)
      if (value ~ /^".*"$/) value = substr(value, 2, length(value) - 2)
      print value
      exit
    }' "$profile"
}

# Saves the value $2 (as the profile writes it) under the key $1, leaving
# every other value as it is.
save_value() {
  mkdir -p "$(dirname "$profile")"
  touch "$profile"
  LINE="$1=$2" awk -v section="$section" -v key="$1" '
    /^\[/ {
      if (inside && !done) { print ENVIRON["LINE"]; done = 1 }
      inside = ($0 == section)
      if (inside) seen = 1
    }
    inside && index($0, key "=") == 1 { if (!done) print ENVIRON["LINE"]; done = 1; next }
    { print }
    END {
      if (!seen) print section
      if (!done) print ENVIRON["LINE"]
    }' "$profile" >"$profile.new"
  mv "$profile.new" "$profile"
}

# Saves the simulator's port (quoted, so that a value with a comma stays one
# string) and its UART settings as the program keeps them: the parity as its
# letter's character code.
save_simulator() {
  local baud parity stop
  read -r baud parity stop <<<"$framing"
  save_value "$key" "\"$port\""
  save_value 'Application%20buadrate' "$baud"
  save_value 'Application%20parity%20bit' "$(printf '%d' "'$parity")"
  save_value 'Application%20stop%20bit' "$stop"
}

saved=$(saved_port)
if [[ $port == /dev/pts/* ]]; then
  echo "run: the simulator has no link in the virtual port directory (--no-link), so the dialog does not list it."
elif [ -z "$saved" ] || [ "$saved" = "$port" ] ||
  { [ "$(dirname -- "$saved")" = "$(dirname -- "$port")" ] && ! grep -qxF -- "$saved" <<<"$("$ctl" ports 2>/dev/null)"; }; then
  save_simulator
  echo "run: OK in the COM port dialog opens the simulator, $port, at ${framing// /,}."
else
  echo "run: the COM port dialog proposes $saved, chosen last time; the simulator is $port."
fi
status=0
"$app" || status=$?
if [ "$status" -ne 0 ]; then
  echo "run: Tarnel Manager exited with status $status." >&2
fi
exit "$status"
