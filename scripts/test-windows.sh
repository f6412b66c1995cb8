#!/usr/bin/env bash
# Builds the Windows programs and tries them under Wine: the unit tests (the
# windowing layer's Win32 parts among them, on a virtual X display; the
# configurator page's on modules that tarnel-simhost serves), then
# tarnelctl.exe against tarnel-sim, whose pseudo-terminal a private Wine
# prefix sees as a COM port. Prints "N passed, N failed" for the runs.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
# Without recommends, wine64 alone puts no wine on the path.
PACKAGES="wine wine64 fonts-wine fonts-nanum xvfb xauth" bash scripts/setup.sh
bash scripts/build-windows.sh
win_build=${BUILD_DIR:-build-windows}
if [ ! -x build/sim/tarnel-sim ]; then
  bash scripts/setup.sh
  BUILD_DIR=build-core bash scripts/build.sh -DTARNEL_CORE_ONLY=ON -DTARNEL_BUILD_BENCH=OFF
  linux_build=$root/build-core
else
  linux_build=$root/build
fi
# build/ may predate the host.
cmake --build "$linux_build" --target tarnel-sim tarnel-simhost
sim=$linux_build/sim/tarnel-sim
simhost=$linux_build/tests/tarnel-simhost

. scripts/lib/helpers.sh
. scripts/lib/wine.sh
work=$(mktemp -d)
pids=()
trap 'wine_stop; stop_processes; rm -rf "$work"' EXIT

# start_sim OUTPUT ARGS: starts a simulator and sets $pty to its pseudo-terminal.
start_sim() {
  local out=$1
  shift
  "$sim" --no-link --no-log "$@" >"$out" 2>&1 &
  pids+=($!)
  wait_for "$out" '/dev/pts/' || { cat "$out" >&2; echo "test-windows: the simulator did not start" >&2; exit 1; }
  pty=$(grep -o '/dev/pts/[0-9]*' "$out" | head -n 1)
}

echo "test-windows: preparing a Wine prefix"
wine_start

# The configurator page's window tests open modules that this host serves on
# COM ports of the prefix.
"$simhost" >"$work/simhost.out" 2>&1 &
pids+=($!)
wait_for "$work/simhost.out" '^tarnel-simhost: ' || { cat "$work/simhost.out" >&2; echo "test-windows: tarnel-simhost did not start" >&2; exit 1; }
TARNEL_SIM_HOST=$(sed -n 's/^tarnel-simhost: //p' "$work/simhost.out")
export TARNEL_SIM_HOST

echo "test-windows: unit tests under Wine"
ctest --test-dir "$win_build" --output-on-failure --timeout "$wine_limit"

start_sim "$work/sim.out"
com=COM7
wine_map_com "$com" "$pty"

# ctl STATUS PATTERN ARGS: tarnelctl.exe ARGS must exit with STATUS and print
# a line matching the extended regular expression PATTERN on standard output
# or standard error.
ctl() {
  local want=$1 pattern=$2 status=0
  shift 2
  timeout "$wine_limit" wine "$win_build/ctl/tarnelctl.exe" "$@" 2>&1 </dev/null | tr -d '\r' >"$work/ctl.out" ||
    status=${PIPESTATUS[0]}
  cat "$work/ctl.out"
  echo "(exit status $status)"
  [ "$status" -eq "$want" ] && grep -Eq -- "$pattern" "$work/ctl.out"
}

echo "test-windows: tarnelctl.exe against the simulator on $com ($pty)"
check "ports lists the mapped port" ctl 0 "^$com\$" ports
check "info reads the module" ctl 0 "^  address: 001A7DDA7113\$" info "$com"
check "info as JSON" ctl 0 '"name":"Tarnel"' info "$com" --json
check "set writes and verifies" ctl 0 "^  name: Bench-7\$" set "$com" --name Bench-7 --uart 19200,N,1 --mode 1
check "info at the old rate finds no module" ctl 4 "." info "$com"
check "find finds the new rate" ctl 0 "19200,N,1" find "$com"
check "info at the new rate" ctl 0 "^  mode: 1\$" info "$com" --line 19200,N,1
check "search lists the devices" ctl 0 "^  name: Workshop Scanner\$" search "$com" --line 19200,N,1 --seconds 4
check "reset restores the factory settings" ctl 0 "^  name: Tarnel\$" reset "$com" --line auto --yes
check "provision one module" ctl 0 "PASS" provision --port "$com" --name "Line-{n:03}"
check "info after provision" ctl 0 "^  name: Line-001\$" info "$com"
# The same port under a name outside ASCII, which no "ANSI" code page needs to hold.
ln -sfn "$pty" "$WINEPREFIX/dosdevices/포트"
check "a port named outside ASCII opens by its name" ctl 0 "^  name: Line-001\$" info 포트
check "a Korean name reaches the module in UTF-8" ctl 0 "^  name: 거실 모듈\$" set "$com" --name "거실 모듈"
check "a missing port" ctl 3 "COM219: .*[Ff]ile" info COM219
check "a usage mistake" ctl 2 "needs a PORT" info

# interrupted OUT PATTERN STATUS ARGS: tarnelctl.exe ARGS in the background,
# Ctrl+C (SIGINT, which Wine passes on as the console's Ctrl+C) once OUT has
# a line matching PATTERN, and `before_interrupt` run first if set; it must
# then exit with STATUS.
interrupted() {
  local out=$1 pattern=$2 want=$3 status=0 pid
  shift 3
  timeout -s INT -k 10 "$wine_limit" wine "$win_build/ctl/tarnelctl.exe" "$@" >"$out" 2>&1 </dev/null &
  pid=$!
  wait_for "$out" "$pattern" && ${before_interrupt:-true}
  kill -INT "$pid" 2>/dev/null || true
  wait "$pid" || status=$?
  tr -d '\r' <"$out"
  echo "(exit status $status)"
  [ "$status" -eq "$want" ]
}

# A second module appears on COM8 while a production line waits: its
# pseudo-terminal linked and its name added to the serial device table, as a
# plugged-in adapter's driver would.
plug_in_com8() {
  ln -sfn "$pty" "$WINEPREFIX/dosdevices/com8"
  wine reg add 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' /v '\Device\TestSerial8' /d COM8 /f >/dev/null
  wait_for "$work/watch.out" "$pass_line"
}
watch_passes() {
  before_interrupt=plug_in_com8 interrupted "$work/watch.out" "Waiting for modules" 0 provision --watch --name "W-{n}" &&
    grep -Eq "$pass_line" <(tr -d '\r' <"$work/watch.out") && grep -Eq '^  passed: 1$' <(tr -d '\r' <"$work/watch.out")
}
start_sim "$work/sim2.out" --address 001A7D000008
pass_line='^001A7D000008  W-1  PASS  \(COM8\)$'
check "provision --watch takes the module on a new port" watch_passes

# Ctrl+C in a search, as in a console: the inquiry is stopped on the module.
search_stops() {
  interrupted "$work/search.out" "^  name: " 130 search "$com" &&
    grep -Eq 'Interrupted; the search was stopped' <(tr -d '\r' <"$work/search.out")
}
check "Ctrl+C ends a search with 130" search_stops

checks_done
