#!/usr/bin/env bash
# The flood of bench/terminal_flood.sh for the Windows program: the same
# 8 MB of UTF-8 text lines at full speed into a pseudo-terminal that a
# private Wine prefix maps as COM5, on a virtual X display of its own.
# tarnel-manager.exe opens it as a user would (its saved profile proposes the
# port, 460800 baud and the terminal mode; Enter answers the COM port
# dialog). Measured: the time from the first byte until the view is idle, the
# program's processor time (and Wine's server's), and the time from a click
# on the LF check box (SendInput at its screen point) until the program has
# stored the box's new state in its profile,
# sampled every 100 ms while the flood runs. The view must end with the
# flood's newest characters, exactly. The ceiling is a plain ReadFile loop
# (wine_flood_probe.c, built here with mingw-w64) on the same mapped port
# with the same flood, and the same loop with overlapped reads waited for on
# a completion port, as the program's channel reads. Prints the figures and
# the ratios last.
#
#   bash bench/terminal_flood_windows.sh [megabytes]   (default 8; needs both builds:
#   scripts/build-windows.sh, and scripts/build.sh for the Linux flood drive)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
megabytes=${1:-8}
limit=32767
win_build=$root/${WIN_BUILD_DIR:-build-windows}
linux_build=$root/${BUILD_DIR:-build}
app=$win_build/app/tarnel-manager.exe
winprobe=$win_build/tests/platform/win32/winprobe.exe
drive=$linux_build/bench/terminal_flood_drive
for tool in Xvfb wine wineserver x86_64-w64-mingw32-gcc iconv; do
  command -v "$tool" >/dev/null || { echo "terminal_flood_windows: $tool is missing" >&2; exit 2; }
done
for f in "$app" "$winprobe" "$drive"; do
  [ -e "$f" ] || { echo "terminal_flood_windows: $f is missing; build first" >&2; exit 2; }
done

. scripts/lib/helpers.sh
. bench/flood_view.sh
. scripts/lib/wine.sh
work=$(mktemp -d)
pids=()
cleanup() {
  wine_stop
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

probe_exe=$work/wine_flood_probe.exe
x86_64-w64-mingw32-gcc -O2 -municode -o "$probe_exe" bench/wine_flood_probe.c -ladvapi32
link=$work/port
com=COM5
echo "terminal_flood_windows: preparing a Wine prefix"
wine_start

# start_drive PROGRAM-NAME: the flood device for the port's holder whose
# command line holds PROGRAM-NAME; the Windows path of a file it makes once
# every byte is written goes to $written.
start_drive() {
  rm -f "$work/written"
  coproc DRIVE { exec "$drive" --link "$link" --megabytes "$megabytes" --ping-ms 0 --xserver "${pids[0]}" \
    --program-name "$1" --save "$work/flood.txt" --written "$work/written"; }
  pids+=("$DRIVE_PID")
  local word port
  read -r -u "${DRIVE[0]}" word port
  written="Z:${work//\//\\}\\written"
}

read_result() {
  result=
  read -r -u "${DRIVE[0]}" result || true
  [[ $result == result* ]] || { echo "terminal_flood_windows: no result from the flood" >&2; exit 1; }
}

end_drive() {
  local drive_pid=$DRIVE_PID
  eval "exec ${DRIVE[1]}>&-"
  wait "$drive_pid" 2>/dev/null || true
}

field() {
  sed -n "s/.* $2=\([^ ]*\).*/\1/p" <<<"$1"
}

# The processor time of this prefix's Wine server so far, in seconds.
server_cpu() {
  local pid
  for pid in $(pgrep -f wineserver); do
    if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then
      awk -v hz="$(getconf CLK_TCK)" '{ printf "%.2f", ($14 + $15) / hz }' "/proc/$pid/stat"
      return
    fi
  done
  echo 0
}

# The ceiling: what a ReadFile loop takes from the same port, plain (read)
# or overlapped and waited for on a completion port (readasync), as the
# program's channel reads; the figures go to $ceiling_MODE. The first maps
# the port; the table entry stays, and the flood's link is made again.
ceiling() {
  start_drive wine_flood_probe
  [ "$1" = read ] && wine_map_com "$com" "$link"
  timeout 300 wine "$probe_exe" "$1" "$com" "$(stat -c %s "$work/flood.txt" 2>/dev/null || echo $((megabytes * 1048576)))" \
    >"$work/ceiling.out" 2>&1 || true
  read_result
  end_drive
  local figures
  figures=$(tr -d '\r' <"$work/ceiling.out" | grep '^read ' || true)
  [ -n "$figures" ] || { cat "$work/ceiling.out" >&2; echo "terminal_flood_windows: the ReadFile loop failed" >&2; exit 1; }
  printf -v "ceiling_$1" '%s' "$figures"
}

# Checks that the view holds the end of the flood, within the text limit.
check_view() {
  # Wine's rich edit gives its text with the mark of the empty paragraph
  # after the last line break.
  wine "$winprobe" text "Tarnel Manager" 1075 2>/dev/null | tr -d '\r' | sed '$ { /^$/d }' >"$work/shown.txt"
  judge_view
}

flood_tarnel() {
  local key='HKCU\Software\Quillmore\Tarnel Manager\Default Values'
  wine reg add "$key" /v "Application COM port" /d "$com" /f >/dev/null
  wine reg add "$key" /v "Application buadrate" /t REG_DWORD /d 460800 /f >/dev/null
  wine reg add "$key" /v "Application parity bit" /t REG_DWORD /d 78 /f >/dev/null
  wine reg add "$key" /v "Application stop bit" /t REG_DWORD /d 1 /f >/dev/null
  wine reg add "$key" /v "Applicatoin Op Mode" /t REG_DWORD /d 2 /f >/dev/null
  start_drive tarnel-manager
  wine "$app" >"$work/app.log" 2>&1 &
  local app_pid=$!
  pids+=("$app_pid")
  wine "$winprobe" rect "COM port settings" >/dev/null 2>&1 || { echo "terminal_flood_windows: no COM port dialog" >&2; exit 1; }
  sleep 0.5
  xdotool key Return
  local server_before
  server_before=$(server_cpu)
  wine "$probe_exe" click "Tarnel Manager" 1084 "${key#HKCU\\}" "Line end line feed" "$written" \
    >"$work/clicks.out" 2>&1 &
  local clicker=$!
  read_result
  server=$(awk -v a="$server_before" -v b="$(server_cpu)" 'BEGIN { printf "%.2f", b - a }')
  wait "$clicker" || true
  clicks=$(tr -d '\r' <"$work/clicks.out" | grep '^clicks ' || echo "clicks n=0 lost=?")
  check_view
  end_drive
  tarnel=$result
}

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
ceiling read
ceiling readasync
flood_tarnel
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

rate() { awk -v b="$1" -v s="$2" 'BEGIN { printf "%.2f", b / s / 1e6 }'; }
tarnel_rate=$(rate "$(field "$tarnel" bytes)" "$(field "$tarnel" seconds)")
ceiling_rate=$(rate "$(field "$ceiling_read" bytes)" "$(field "$ceiling_read" seconds)")
overlapped_rate=$(rate "$(field "$ceiling_readasync" bytes)" "$(field "$ceiling_readasync" seconds)")
echo "flood: $(field "$tarnel" bytes) bytes of UTF-8 text lines at 460800 baud under Wine, $(nproc) processors"
echo "load average before: $load_before   after: $load_after"
printf '%-24s %8s %9s %7s %11s %8s\n' "" "MB/s" "seconds" "CPU s" "server CPU s" "X CPU s"
printf '%-24s %8s %9s %7s %11s %8s\n' "Tarnel Manager (Wine)" "$tarnel_rate" "$(field "$tarnel" seconds)" \
  "$(field "$tarnel" cpu)" "$server" "$(field "$tarnel" xcpu)"
printf '%-24s %8s %9s\n' "ReadFile loop (Wine)" "$ceiling_rate" "$(field "$ceiling_read" seconds)"
printf '%-24s %8s %9s\n' "  overlapped, as asio" "$overlapped_rate" "$(field "$ceiling_readasync" seconds)"
echo "click on LF to its new state, every 100 ms during the flood: $(field " $clicks" n) clicks," \
  "worst $(field " $clicks" worst_ms) ms, median $(field " $clicks" median_ms) ms," \
  "$(field " $clicks" over50) over 50 ms, $(field " $clicks" lost) without effect"
echo "Tarnel Manager's view: $view"
awk -v a="$tarnel_rate" -v b="$ceiling_rate" 'BEGIN { printf "rate ratio to the ReadFile loop (goal >= 0.5): %.2f\n", a / b }'
awk -v a="$tarnel_rate" -v b="$overlapped_rate" 'BEGIN { printf "rate ratio to the overlapped loop: %.2f\n", a / b }'
awk -v a="$tarnel_rate" 'BEGIN { printf "rate (goal >= 1 MB/s): %.2f MB/s\n", a }'
awk -v a="$(field " $clicks" worst_ms)" 'BEGIN { printf "worst click (goal <= 50 ms): %.1f ms\n", a }'
