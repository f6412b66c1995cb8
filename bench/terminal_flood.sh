#!/usr/bin/env bash
# Floods a terminal program's port with 8 MB of UTF-8 text lines and compares
# Tarnel Manager's terminal with GTKTerm's (Debian's gtkterm) on the same
# machine in the same run, on a virtual X display (Xvfb): for each, a
# pseudo-terminal at 460800 baud fed at full speed, the time from the first
# byte until the view is idle, the processor time the program used for it,
# and the worst time its window took to answer a ping sent every 100 ms.
# Tarnel Manager is started as a user would: its saved profile proposes the
# port, 460800 baud and the terminal mode, and the COM port dialog is answered
# with Enter. Afterwards its view is copied through its context menu and must
# end the flood exactly, within the text limit. Prints the figures and the
# ratios last.
#
#   bash bench/terminal_flood.sh [megabytes] [ping period in ms]   (default 8, 100; needs a build)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib/helpers.sh
. bench/flood_view.sh
build_dir=${BUILD_DIR:-build}
app=$PWD/$build_dir/app/tarnel-manager
drive=$PWD/$build_dir/bench/terminal_flood_drive
modem_lines=$PWD/$build_dir/bench/libterminal_flood_modem_lines.so
megabytes=${1:-8}
ping_ms=${2:-100}
limit=32767
for tool in Xvfb xdotool xclip gtkterm iconv; do
  command -v "$tool" >/dev/null || { echo "terminal_flood: $tool is missing (apt-get install xvfb xdotool xclip gtkterm)" >&2; exit 2; }
done
[ -x "$app" ] && [ -x "$drive" ] && [ -f "$modem_lines" ] || { echo "terminal_flood: build first (bash scripts/build.sh)" >&2; exit 2; }

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# A display number of its own, away from the low ones that other programs on
# the machine take or pass around.
for _ in $(seq 20); do
  display=$((100 + RANDOM % 800))
  Xvfb ":$display" -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb=$!
  for _ in $(seq 100); do
    [ -s "$work/display" ] || ! kill -0 "$xvfb" 2>/dev/null && break
    sleep 0.1
  done
  [ -s "$work/display" ] && break
  wait "$xvfb" 2>/dev/null || true
done
pids+=("$xvfb")
[ -s "$work/display" ] || { echo "terminal_flood: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=:$(cat "$work/display") QT_QPA_PLATFORM=xcb
mkdir -p "$work/home" "$work/config/Quillmore" "$work/run/tarnel-ports"
chmod 700 "$work/run"
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run

# Starts the flood device on link $1; sets $port.
start_drive() {
  coproc DRIVE { exec "$drive" --link "$1" --megabytes "$megabytes" --ping-ms "$ping_ms" --xserver "$xvfb" --save "$work/flood.txt"; }
  pids+=("$DRIVE_PID")
  local word
  read -r -u "${DRIVE[0]}" word port
}

# Reads the drive's result line into $result.
read_result() {
  result=
  read -r -u "${DRIVE[0]}" result || true
  [[ $result == result* ]] || { echo "terminal_flood: no result from the flood" >&2; cat "$work"/*.log >&2; exit 1; }
  [ "$(field "$result" lost)" = 0 ] || { echo "terminal_flood: a ping went unanswered: $result" >&2; exit 1; }
}

# Lets the drive end, and with it the port.
end_drive() {
  local drive_pid=$DRIVE_PID
  eval "exec ${DRIVE[1]}>&-"
  wait "$drive_pid" 2>/dev/null || true
}

field() {
  sed -n "s/.* $2=\([^ ]*\).*/\1/p" <<<"$1"
}

# Copies the view of Tarnel Manager's window $1 through its context menu and
# checks that it holds the end of the flood, within the text limit.
check_view() {
  local geometry w h
  geometry=$(xdotool getwindowgeometry --shell "$1")
  w=$(sed -n 's/^WIDTH=//p' <<<"$geometry")
  h=$(sed -n 's/^HEIGHT=//p' <<<"$geometry")
  # The menu opens at the pointer: Copy is its first item, Select All its second.
  xdotool mousemove --window "$1" $((w / 2)) $((h / 3)) click 3 sleep 0.5 mousemove_relative 30 32 click 1
  xdotool mousemove --window "$1" $((w / 2)) $((h / 3)) click 3 sleep 0.5 mousemove_relative 30 11 click 1
  sleep 0.3
  xclip -o -selection clipboard -t UTF8_STRING >"$work/shown.txt"
  judge_view
}

flood_tarnel() {
  local link=$XDG_RUNTIME_DIR/tarnel-ports/flood
  start_drive "$link"
  printf '[Default%%20Values]\nApplication%%20COM%%20port=%s\nApplication%%20buadrate=460800\nApplication%%20parity%%20bit=78\nApplication%%20stop%%20bit=1\nApplicatoin%%20Op%%20Mode=2\n' \
    "$link" >"$XDG_CONFIG_HOME/Quillmore/Tarnel Manager.conf"
  "$app" >"$work/app.log" 2>&1 &
  local app_pid=$!
  pids+=("$app_pid")
  local dialog
  dialog=$(window_of "$app_pid") || { cat "$work/app.log" >&2; exit 1; }
  sleep 0.5
  xdotool windowfocus --sync "$dialog" key Return
  read_result
  check_view "$(window_of "$app_pid")"
  end_drive
  kill "$app_pid"
  wait "$app_pid" 2>/dev/null || true
  tarnel=$result
}

flood_gtkterm() {
  start_drive "$work/gtkterm-port"
  # A configuration of its own, so that it does not announce making one.
  printf '[default]\nport = %s\nspeed = 460800\nbits = 8\nstopbits = 1\nparity = none\nflow = none\n' \
    "$port" >"$XDG_CONFIG_HOME/.gtktermrc"
  # GTKTerm closes a port whose modem lines cannot be read unless the port
  # says it has none; a pseudo-terminal says it is no terminal for that.
  LD_PRELOAD=$modem_lines gtkterm --port "$port" --speed 460800 >"$work/gtkterm.log" 2>&1 &
  local gtkterm_pid=$!
  pids+=("$gtkterm_pid")
  # GTKTerm closes at start a port that udev does not know, as a pseudo-
  # terminal is; its port dialog (Ctrl+Shift+S), which it fills with the
  # port and the speed given, opens it again with OK.
  local main
  main=$(window_of "$gtkterm_pid") || { cat "$work/gtkterm.log" >&2; exit 1; }
  xdotool windowfocus --sync "$main" key ctrl+shift+s
  local dialog geometry w h
  dialog=$(window_of "$gtkterm_pid" Configuration)
  sleep 0.5
  geometry=$(xdotool getwindowgeometry --shell "$dialog")
  w=$(sed -n 's/^WIDTH=//p' <<<"$geometry")
  h=$(sed -n 's/^HEIGHT=//p' <<<"$geometry")
  xdotool mousemove --window "$dialog" $((w - 139)) $((h - 22)) click 1  # OK
  read_result
  end_drive
  kill "$gtkterm_pid"
  wait "$gtkterm_pid" 2>/dev/null || true
  gtkterm=$result
}

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
flood_tarnel
flood_gtkterm
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

rate() { awk -v b="$(field "$1" bytes)" -v s="$(field "$1" seconds)" 'BEGIN { printf "%.2f", b / s / 1e6 }'; }
row() {
  printf '%-16s %10s %10s %12s %10s %15s %6s\n' "$1" "$(rate "$2")" "$(field "$2" seconds)" "$(field "$2" cpu)" \
    "$(field "$2" xcpu)" "$(field "$2" stall_ms)" "$(field "$2" pings)"
}
echo "flood: $(field "$tarnel" bytes) bytes of UTF-8 text lines at 460800 baud, $(nproc) processors"
echo "load average before: $load_before   after: $load_after"
printf '%-16s %10s %10s %12s %10s %15s %6s\n' "" "MB/s" "seconds" "CPU s" "X CPU s" "worst stall ms" "pings"
row "Tarnel Manager" "$tarnel"
row "GTKTerm" "$gtkterm"
echo "Tarnel Manager's view: $view"
awk -v a="$(rate "$tarnel")" -v b="$(rate "$gtkterm")" 'BEGIN { printf "rate ratio (goal >= 1.5):  %.2f\n", a / b }'
awk -v a="$(field "$tarnel" cpu)" -v b="$(field "$gtkterm" cpu)" 'BEGIN { printf "CPU ratio (goal <= 1):     %.2f\n", a / b }'
awk -v a="$(field "$tarnel" stall_ms)" -v b="$(field "$gtkterm" stall_ms)" 'BEGIN { printf "worst stall (goal <= 16 ms): %.1f ms, GTKTerm %.1f ms\n", a, b }'
