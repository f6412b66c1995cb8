#!/usr/bin/env bash
# Builds the Windows programs and tries them under Wine: the unit tests (the
# windowing layer's Win32 parts among them, on a virtual X display), then
# tarnelctl.exe against tarnel-sim, whose pseudo-terminal a private Wine
# prefix sees as a COM port. Prints "N passed, N failed" for the runs.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
# Without recommends, wine64 alone puts no wine on the path.
PACKAGES="wine wine64 fonts-wine fonts-nanum xvfb xauth" bash scripts/setup.sh
bash scripts/build-windows.sh -DTARNEL_WIN32_UI=ON
win_build=${BUILD_DIR:-build-windows}
if [ ! -x build/sim/tarnel-sim ]; then
  bash scripts/setup.sh
  BUILD_DIR=build-core bash scripts/build.sh -DTARNEL_CORE_ONLY=ON -DTARNEL_BUILD_BENCH=OFF
  sim=$root/build-core/sim/tarnel-sim
else
  sim=$root/build/sim/tarnel-sim
fi

work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
# Wine hands a program its command line converted from the locale's
# character set; without UTF-8 a Korean name would arrive as '??'.
export LC_ALL=C.UTF-8
# No single Wine run may hold up CI: each is ended after this long.
limit=120
sim_pids=()
xvfb_pid=
cleanup() {
  for pid in "${sim_pids[@]}"; do kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null || true; done
  wineserver -k 2>/dev/null || true
  [ -z "$xvfb_pid" ] || { kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null || true; }
  rm -rf "$work"
}
trap cleanup EXIT

fail_setup() {
  echo "test-windows: $1" >&2
  exit 1
}

# wait_for FILE PATTERN: until FILE has a line matching PATTERN, 30 s at most.
wait_for() {
  for _ in $(seq 300); do
    tr -d '\r' <"$1" | grep -Eq -- "$2" && return 0
    sleep 0.1
  done
  return 1
}

# start_sim OUTPUT ARGS: starts a simulator and sets $pty to its pseudo-terminal.
start_sim() {
  local out=$1
  shift
  "$sim" --no-link --no-log "$@" >"$out" 2>&1 &
  sim_pids+=($!)
  wait_for "$out" '/dev/pts/' || { cat "$out"; fail_setup "the simulator did not start"; }
  pty=$(grep -o '/dev/pts/[0-9]*' "$out" | head -n 1)
}

# A server that lingers only a few seconds after its last client can be
# caught shutting down by the next program; this one stays until killed.
start_wineserver() {
  wineserver -p >>"$work/wineserver.log" 2>&1
  timeout "$limit" wine wineboot >/dev/null 2>&1
}

# Windows need a display: a virtual X display of their own, on which Wine
# draws one desktop window with every window inside it, so that no window
# manager is needed.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { cat "$work/xvfb.log" >&2; fail_setup "Xvfb did not start"; }
export DISPLAY=:$(cat "$work/display")

echo "test-windows: preparing a Wine prefix"
timeout 300 wine wineboot -i >/dev/null 2>&1 || fail_setup "the Wine prefix could not be made"
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null
# Hangul for the dialog fonts, linked in as Windows links a font with the
# glyphs a font lacks; Debian's Nanum fonts are what Wine finds.
for font in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif"; do
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v "$font" \
    /t REG_MULTI_SZ /d 'NanumGothic.ttf,NanumGothic' /f >/dev/null
done
wineserver -w
start_wineserver

echo "test-windows: unit tests under Wine"
ctest --test-dir "$win_build" --output-on-failure --timeout "$limit"

start_sim "$work/sim.out"
# The dosdevices link opens the port; the Ports value makes Wine's mount
# manager list it in the serial device table when the prefix starts again.
com=COM7
ln -sfn "$pty" "$WINEPREFIX/dosdevices/${com,,}"
wine reg add 'HKLM\Software\Wine\Ports' /v "$com" /d "$pty" /f >/dev/null
wineserver -k || true
wineserver -w
start_wineserver

passed=0
failed=0
# report NAME OK OUTPUT DETAIL: counts a check; a failed one shows its output.
report() {
  if [ "$2" = yes ]; then
    passed=$((passed + 1))
    echo "ok    $1"
  else
    failed=$((failed + 1))
    echo "FAIL  $1: $4, output:"
    sed 's/^/      /' "$3"
  fi
}

# run NAME STATUS PATTERN -- ARGS: tarnelctl.exe ARGS must exit with STATUS
# and print a line matching the extended regular expression PATTERN on
# standard output or standard error.
run() {
  local name=$1 want=$2 pattern=$3
  shift 4
  local status=0 ok=no
  timeout "$limit" wine "$win_build/ctl/tarnelctl.exe" "$@" >"$work/out" 2>&1 </dev/null || status=$?
  tr -d '\r' <"$work/out" >"$work/out.txt"
  [ "$status" -eq "$want" ] && grep -Eq -- "$pattern" "$work/out.txt" && ok=yes
  report "$name" "$ok" "$work/out.txt" "tarnelctl.exe $* exited with $status (wanted $want and a line matching $pattern)"
}

echo "test-windows: tarnelctl.exe against the simulator on $com ($pty)"
run "ports lists the mapped port" 0 "^$com\$" -- ports
run "info reads the module" 0 "^  address: 001A7DDA7113\$" -- info "$com"
run "info as JSON" 0 '"name":"Tarnel"' -- info "$com" --json
run "set writes and verifies" 0 "^  name: Bench-7\$" -- set "$com" --name Bench-7 --uart 19200,N,1 --mode 1
run "info at the old rate finds no module" 4 "." -- info "$com"
run "find finds the new rate" 0 "19200,N,1" -- find "$com"
run "info at the new rate" 0 "^  mode: 1\$" -- info "$com" --line 19200,N,1
run "search lists the devices" 0 "^  name: Workshop Scanner\$" -- search "$com" --line 19200,N,1 --seconds 4
run "reset restores the factory settings" 0 "^  name: Tarnel\$" -- reset "$com" --line auto --yes
run "provision one module" 0 "PASS" -- provision --port "$com" --name "Line-{n:03}"
run "info after provision" 0 "^  name: Line-001\$" -- info "$com"
run "a Korean name reaches the module in UTF-8" 0 "^  name: 거실 모듈\$" -- set "$com" --name "거실 모듈"
run "a missing port" 3 "COM219: .*[Ff]ile" -- info COM219
run "a usage mistake" 2 "needs a PORT" -- info

# A production line watching the port list: a second module appears on COM8
# while it waits (its pseudo-terminal linked and its name added to the serial
# device table, as a plugged-in adapter's driver would), and Ctrl+C (SIGINT,
# which Wine passes on as the console's Ctrl+C) ends it with the summary.
start_sim "$work/sim2.out" --address 001A7D000008
timeout -s INT -k 10 "$limit" wine "$win_build/ctl/tarnelctl.exe" provision --watch --name "W-{n}" \
  >"$work/watch.out" 2>&1 </dev/null &
watch_pid=$!
pass_line='^001A7D000008  W-1  PASS  \(COM8\)$'
if wait_for "$work/watch.out" "Waiting for modules"; then
  ln -sfn "$pty" "$WINEPREFIX/dosdevices/com8"
  wine reg add 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' /v '\Device\TestSerial8' /d COM8 /f >/dev/null
  wait_for "$work/watch.out" "$pass_line" || true
fi
kill -INT "$watch_pid" 2>/dev/null || true
watch_status=0
wait "$watch_pid" || watch_status=$?
tr -d '\r' <"$work/watch.out" >"$work/out.txt"
ok=no
[ "$watch_status" -eq 0 ] && grep -Eq "$pass_line" "$work/out.txt" && grep -Eq '^  passed: 1$' "$work/out.txt" && ok=yes
report "provision --watch takes the module on a new port" "$ok" "$work/out.txt" "it exited with $watch_status"

# Ctrl+C in a search, as in a console: the inquiry is stopped on the module
# and the status is the one for an interrupt.
timeout -s INT -k 10 "$limit" wine "$win_build/ctl/tarnelctl.exe" search "$com" \
  >"$work/search.out" 2>&1 </dev/null &
search_pid=$!
wait_for "$work/search.out" "^  name: " || true
kill -INT "$search_pid" 2>/dev/null || true
search_status=0
wait "$search_pid" || search_status=$?
tr -d '\r' <"$work/search.out" >"$work/out.txt"
ok=no
[ "$search_status" -eq 130 ] && grep -Eq 'Interrupted; the search was stopped' "$work/out.txt" && ok=yes
report "Ctrl+C ends a search with 130" "$ok" "$work/out.txt" "it exited with $search_status"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
