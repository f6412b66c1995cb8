#!/usr/bin/env bash
# Tries tarnel-manager.exe under Wine as a person would, against tarnel-sim on
# a mapped COM port: xdotool clicks screen points and types, and Windows
# decides which control gets them; winprobe.exe reads where the controls are
# and what they show. In English, then in Korean: the port chosen in the COM
# port dialog, the values read and shown, a new name applied, a search and a
# device taken as the target, a factory reset cancelled and then confirmed,
# the terminal with CR/LF and hexadecimal sending; then English again, as wide
# as the first time. Screenshots of each window
# go to $SHOTS (screenshots/windows/ with --shots). LANGS="en" or "ko" runs
# one language only. Prints "N passed, N failed". Needs the Windows build (scripts/build-windows.sh) and tarnel-sim.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
PACKAGES="wine wine64 fonts-wine fonts-nanum xvfb xauth xdotool imagemagick" bash scripts/setup.sh
win_build=${BUILD_DIR:-build-windows}
sim=${SIM:-$root/build/sim/tarnel-sim}
[ -x "$sim" ] || sim=$root/build-core/sim/tarnel-sim
app=$win_build/app/tarnel-manager.exe
probe=$win_build/tests/platform/win32/winprobe.exe
for f in "$app" "$probe" "$sim"; do
  [ -e "$f" ] || { echo "test-windows-manager: $f is missing; build it first" >&2; exit 1; }
done

. scripts/lib/helpers.sh
. scripts/lib/wine.sh
work=$(mktemp -d)
pids=()
declare -A widths
trap 'wine_stop; stop_processes; rm -rf "$work"' EXIT
SHOTS=${SHOTS:-$work/shots}
[ "${1:-}" = --shots ] && SHOTS=$root/screenshots/windows
mkdir -p "$SHOTS"

# probe WHAT TITLE [ID]: winprobe.exe's answer without the line end.
probe() {
  timeout 30 wine "$probe" "$@" 2>/dev/null | tr -d '\r'
}

# click TITLE [ID] [DX DY]: a click at the control's centre, or DX DY pixels
# from its top left corner.
click() {
  local x y w h
  read -r x y w h < <(probe rect "$1" ${2:+"$2"}) || { echo "no control $2 in '$1'" >&2; return 1; }
  if [ $# -ge 4 ]; then
    xdotool mousemove "$((x + $3))" "$((y + $4))" click 1
  else
    xdotool mousemove "$((x + w / 2))" "$((y + h / 2))" click 1
  fi
}

# shows TITLE ID PATTERN: until the control's text matches PATTERN, 20 s at most.
shows() {
  for _ in $(seq 100); do
    probe text "$1" "$2" | grep -Eq -- "$3" && return 0
    sleep 0.2
  done
  echo "control $2 of '$1' shows '$(probe text "$1" "$2")', not /$3/" >&2
  return 1
}

# box_answers PATTERN KEY: a message box with a text matching PATTERN is up;
# KEY (Return, Escape) answers it and it goes.
box_answers() {
  shows "Tarnel Manager" 65535 "$1" || return 1
  shot "box-$(probe text "Tarnel Manager" 65535 | tr -c 'A-Za-z0-9' '-' | cut -c1-24)"
  xdotool key "$2"
  for _ in $(seq 100); do
    timeout 5 wine "$probe" text "Tarnel Manager" 65535 >/dev/null 2>&1 || return 0
  done
  return 1
}

# received PATTERN [COUNT]: the simulator got a line matching PATTERN, COUNT
# times (once by default), within 20 s.
received() {
  for _ in $(seq 100); do
    [ "$(grep -Ec -- "^<- ($1)\$" "$sim_log")" -ge "${2:-1}" ] && return 0
    sleep 0.2
  done
  echo "the simulator got:" >&2
  cat "$sim_log" >&2
  return 1
}

shot() {
  import -window root "$SHOTS/$lang-$((++shot_n))-$1.png"
}

# type_into TITLE ID TEXT: clicks into the field, selects what is there with
# the keyboard and types TEXT over it.
type_into() {
  click "$1" "$2" && xdotool key End shift+Home && xdotool type --delay 40 "$3"
}

choose_port() {
  local _
  # The list is filled as it drops down; a person drops it down again when
  # the port is not there yet.
  for _ in 1 2 3; do
    click "$com_title" 1079 || { sleep 1; continue; }
    xdotool key Escape Home
    for _ in $(seq 16); do
      [ "$(probe text "$com_title" 1079)" = "$com" ] && break 2
      xdotool key Down
    done
  done
  shot com-port-dialog
  [ "$(probe text "$com_title" 1079)" = "$com" ] && click "$com_title" 1 # OK
}

read_and_show() {
  shows "$main_title" 1036 '^001A7DDA7113$' && shows "$main_title" 1002 '^Tarnel$' &&
    shows "$main_title" 1001 '1\.2\.0' && shows "$main_title" 1038 "^$search_label\$" && shot configurator
}

# reopen: after an Apply or a factory reset the port closes and the COM port
# dialog comes up again; its OK opens the port and the values are read.
reopen() {
  shows "$com_title" 1079 "^$com\$" && click "$com_title" 1 && shows "$main_title" 1036 '^001A7DDA7113$'
}

apply_name() {
  type_into "$main_title" 1002 "Bench-9" && click "$main_title" 1003 &&
    box_answers "$done_text" Return && received 'AT\+NAME=Bench-9' && reopen &&
    shows "$main_title" 1002 '^Bench-9$'
}

search_and_target() {
  local target
  click "$main_title" 1038 && sleep 1 && shot search &&
    box_answers "$search_done_text" Return &&
    [ "$(probe rows "$main_title" 1015)" -ge 1 ] &&
    click "$main_title" 1015 40 30 && click "$main_title" 1016 &&
    shows "$main_title" 1017 '^[0-9A-F]{12}$' || return 1
  target=$(probe text "$main_title" 1017)
  click "$main_title" 1003 && box_answers "$done_text" Return && received "AT\\+TADDR=$target" && reopen &&
    shows "$main_title" 1017 "^$target\$"
}

factory_reset() {
  click "$main_title" 1009 && box_answers "$reset_text" Escape && sleep 1 &&
    ! grep -q '^<- AT&F$' "$sim_log" &&
    click "$main_title" 1009 && box_answers "$reset_text" Return && received 'AT&F' && reopen &&
    shows "$main_title" 1002 '^Tarnel$'
}

terminal() {
  xdotool key F10 Down Return # Menu > Setup COM port
  click "$com_title" 1082 && click "$com_title" 1 && shows "$main_title" 1076 . || return 1
  [ "$(probe checked "$main_title" 1083)" = 1 ] || click "$main_title" 1083
  [ "$(probe checked "$main_title" 1084)" = 1 ] || click "$main_title" 1084
  # The configurator asked for the version too.
  local asked
  asked=$(grep -c '^<- AT+VER?$' "$sim_log")
  type_into "$main_title" 1086 "AT+VER?" && xdotool key Return &&
    received 'AT\+VER\?' $((asked + 1)) && shows "$main_title" 1075 '1\.2\.0' || return 1
  click "$main_title" 1085 && type_into "$main_title" 1086 "41542B5645523F" && shot hex-typed &&
    click "$main_title" 1076 && received 'AT\+VER\?' $((asked + 2)) && shot terminal && no_box
}

# no_box: no message box is up (winprobe gives up on it within 3 s); else
# what the simulator got shows too.
no_box() {
  timeout 3 wine "$probe" text "Tarnel Manager" 65535 || return 0
  echo "the simulator got:"
  cat "$sim_log"
  return 1
}

about() {
  xdotool key F10 Down Down Return # Menu > Tarnel Manager Info.
  shows "$about_title" 1088 '^Tarnel Manager Ver [0-9.]+$' && shot about && click "$about_title" 1 &&
    shows "$main_title" 1038 "^$search_label\$"
}

run_language() {
  lang=$1
  shot_n=0
  # Each language starts as a new user: the program remembers the mode
  # chosen last, and the last run ended in the terminal.
  forget_user
  start_sim_on "$com"
  LC_ALL=$2 LANG=$2 timeout 600 wine "$app" >"$work/app-$lang.log" 2>&1 &
  local app_pid=$!
  pids+=("$app_pid")
  check "$lang: the port chosen in the COM port dialog" choose_port
  widths[$lang]=$(main_width)
  check "$lang: the values read and shown, in the UI language" read_and_show
  check "$lang: a new name applied" apply_name
  check "$lang: a search, and a device taken as the target" search_and_target
  check "$lang: factory reset cancelled, then confirmed" factory_reset
  check "$lang: the About box" about
  check "$lang: the terminal with CR/LF and hexadecimal sending" terminal
  wineserver -k || true
  wait "$app_pid" 2>/dev/null || true
  wine_server
}

# forget_user: the next start is a new user's.
forget_user() {
  wine reg delete 'HKCU\Software\Quillmore' /f >/dev/null 2>&1 || true
}

main_width() {
  probe rect "$main_title" | awk '{ print $3 }'
}

# The dialog font is resolved at each start from the UI language: English
# after Korean in the same prefix is as wide as the first English run. Seen
# once the COM port dialog is closed, as a new user (the configurator, as in
# that run; the terminal's window is sized apart).
english_after_korean() {
  forget_user
  LC_ALL=en_US.UTF-8 LANG=en_US.UTF-8 timeout 60 wine "$app" >"$work/app-en-again.log" 2>&1 &
  local app_pid=$! width
  pids+=("$app_pid")
  probe rect "COM port settings for communication" >/dev/null && xdotool key Escape
  for _ in $(seq 50); do
    width=$(main_width)
    [ "$width" = "${widths[en]}" ] && break
    sleep 0.2
  done
  wineserver -k || true
  wait "$app_pid" 2>/dev/null || true
  wine_server
  [ "$width" = "${widths[en]}" ] || { echo "English after Korean: $width pixels wide, first ${widths[en]}" >&2; return 1; }
}

# start_sim_on COM: a new simulator, mapped as port COM, logging to $sim_log.
start_sim_on() {
  sim_log=$work/sim-$lang.log
  "$sim" --no-link --inquiry-time 1500 >"$sim_log" 2>&1 &
  pids+=($!)
  wait_for "$sim_log" '/dev/pts/' || { cat "$sim_log" >&2; exit 1; }
  wine_map_com "$1" "$(grep -o '/dev/pts/[0-9]*' "$sim_log" | head -n 1)"
}

echo "test-windows-manager: preparing a Wine prefix"
wine_start

com=COM7
com_title="COM port settings for communication"
main_title="Tarnel Manager"
about_title="Tarnel Manager Information"
search_label="Search device"
done_text="Device setting has been completed"
search_done_text="Device search has been completed"
reset_text="Reset to factory settings"
[[ " ${LANGS:-en ko} " == *" en "* ]] && run_language en en_US.UTF-8

com_title="Tarnel 모듈과의 통신 설정"
about_title="Tarnel Manager 정보"
search_label="장치 검색"
done_text="설정이 완료되었습니다"
search_done_text="장치 검색이 완료되었습니다"
reset_text="공장 초기화를 실행합니다"
[[ " ${LANGS:-en ko} " == *" ko "* ]] && run_language ko ko_KR.UTF-8
[ -n "${widths[en]:-}" ] && [ -n "${widths[ko]:-}" ] &&
  check "en after ko: the main window as wide as in the first English run" english_after_korean

echo "screenshots in $SHOTS"
checks_done
