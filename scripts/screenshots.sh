#!/usr/bin/env bash
# Takes screenshots of the real tarnel-manager against tarnel-sim on a virtual
# X display (Xvfb), in English and in Korean, into screenshots/: the COM port
# dialog, the configurator after a read, a device search in progress, the
# About box and the terminal. Needs no display of its own.
#
# The program is driven with xdotool by clicking where its template places a
# control: positions in dialog units, scaled by the COM port dialog's size in
# pixels (its template is 260 x 121 units). Each run uses a fresh profile and
# virtual port directory, so the user's own settings are left alone.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
build_dir=${BUILD_DIR:-build}
app=$PWD/$build_dir/app/tarnel-manager
sim=$PWD/$build_dir/sim/tarnel-sim
out=$PWD/screenshots
mkdir -p "$out"

. scripts/lib/helpers.sh

work=$(mktemp -d)
pids=()
trap 'stop_processes; rm -rf "$work"' EXIT

start_xvfb
export QT_QPA_PLATFORM=xcb

# A visible window of process $1 other than window $2 (a message box), waiting for it.
box_of() {
  local id
  for _ in $(seq 150); do
    id=$(xdotool search --onlyvisible --pid "$1" --name '.' 2>/dev/null | grep -vx "$2" | tail -1 || true)
    [ -n "$id" ] && { echo "$id"; return; }
    sleep 0.1
  done
  echo "screenshots: no message box appeared" >&2
  return 1
}

# Waits until window $1 is gone.
gone() {
  for _ in $(seq 100); do
    xdotool getwindowname "$1" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
}

# Clicks at dialog units ($2, $3) of window $1, $4 pixels below its top
# (the menu bar of the main window).
click_du() {
  local x y
  x=$(awk -v u="$2" -v s="$sx" 'BEGIN { printf "%d", u * s }')
  y=$(awk -v u="$3" -v s="$sy" -v o="${4:-0}" 'BEGIN { printf "%d", u * s + o }')
  xdotool mousemove --window "$1" "$x" "$y" click 1
}

shot() {
  import -window "$1" "$out/$2.png"
  echo "screenshots: $out/$2.png"
}

run_language() {
  local lang=$1 lang_env=$2
  local dir=$work/$lang
  mkdir -p "$dir/config/Quillmore" "$dir/run"
  chmod 700 "$dir/run"
  export XDG_RUNTIME_DIR=$dir/run XDG_CONFIG_HOME=$dir/config

  "$sim" >"$dir/sim.log" 2>&1 &
  local sim_pid=$!
  pids+=("$sim_pid")
  local port=
  for _ in $(seq 100); do
    port=$(sed -n 's/^tarnel-sim: module on \([^ ]*\).*/\1/p' "$dir/sim.log")
    [ -n "$port" ] && break
    sleep 0.1
  done
  [ -n "$port" ] || { echo "screenshots: the simulator did not start" >&2; cat "$dir/sim.log" >&2; exit 1; }
  # The simulator's port is the saved one, so the dialog proposes it.
  printf '[Default%%20Values]\nApplication%%20COM%%20port=%s\n' "$port" >"$dir/config/Quillmore/Tarnel Manager.conf"

  env LANGUAGE="$lang_env" LANG="$lang_env" LC_ALL= "$app" >"$dir/app.log" 2>&1 &
  local app_pid=$!
  pids+=("$app_pid")

  local com main about geometry
  com=$(window_of "$app_pid" '.')
  sleep 1
  shot "$com" "$lang-1-com-port-dialog"
  geometry=$(xdotool getwindowgeometry --shell "$com")
  sx=$(awk -v g="$geometry" 'BEGIN { match(g, /WIDTH=[0-9]+/); print substr(g, RSTART + 6, RLENGTH - 6) / 260 }')
  sy=$(awk -v g="$geometry" 'BEGIN { match(g, /HEIGHT=[0-9]+/); print substr(g, RSTART + 7, RLENGTH - 7) / 121 }')
  # The menu bar is about as high as a line of the dialog font plus padding.
  local menu
  menu=$(awk -v s="$sy" 'BEGIN { printf "%d", 11 * s }')
  click_du "$com" 96 107  # OK
  gone "$com"

  main=$(window_of "$app_pid" 'Tarnel Manager')
  sleep 4  # the check and the read of the module
  shot "$main" "$lang-2-configurator"

  click_du "$main" $((2 + 297)) 139 "$menu"  # Search device
  sleep 2.5
  shot "$main" "$lang-3-search"
  local box
  box=$(box_of "$app_pid" "$main")  # "Device search has been completed."
  sleep 0.5
  xdotool windowfocus --sync "$box" key Return
  gone "$box"

  xdotool mousemove --window "$main" 20 $((menu / 2)) click 1  # the menu
  sleep 0.5
  xdotool mousemove --window "$main" 40 $((menu + menu * 3 / 2 + 4)) click 1  # its second item
  about=$(window_of "$app_pid" 'Tarnel Manager ')
  sleep 1
  shot "$about" "$lang-4-about"
  click_du "$about" 138 67  # OK
  gone "$about"

  xdotool mousemove --window "$main" 20 $((menu / 2)) click 1
  sleep 0.5
  xdotool mousemove --window "$main" 40 $((menu + menu / 2 + 4)) click 1  # Setup COM port
  com=$(window_of "$app_pid" '.')
  sleep 0.5
  click_du "$com" 122 70  # Serial terminal
  click_du "$com" 96 107  # OK
  gone "$com"
  sleep 1
  click_du "$main" $((3 + 100)) $((191 + 6)) "$menu"  # the input line
  xdotool type --delay 30 'AT+VER?'
  xdotool key Return
  sleep 0.5
  xdotool type --delay 30 'AT+INFO1?'
  xdotool key Return
  sleep 1.5
  shot "$main" "$lang-5-terminal"

  kill "$app_pid" "$sim_pid" 2>/dev/null || true
  wait "$app_pid" "$sim_pid" 2>/dev/null || true
}

run_language en en_US.UTF-8
run_language ko ko_KR.UTF-8
