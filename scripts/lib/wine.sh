# Wine for the scripts that try the Windows programs: a private prefix on a
# virtual X display of the script's own. Source after scripts/lib/helpers.sh,
# with $work set, and call wine_start.

export WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
# Wine hands a program its command line converted from the locale's
# character set; without UTF-8 a Korean name would arrive as '??'.
export LC_ALL=C.UTF-8
# No single Wine run may hold up CI: each is ended after this long.
wine_limit=120

# A server that lingers only a few seconds after its last client can be
# caught shutting down by the next program; this one stays until killed.
wine_server() {
  wineserver -p >>"$work/wineserver.log" 2>&1
  timeout "$wine_limit" wine wineboot >/dev/null 2>&1
}

# wine_start: the display, and a new prefix in $work/prefix in which Wine
# draws one 1024x768 desktop window with every window inside it, so that no
# window manager is needed; the dialog fonts have Hangul.
wine_start() {
  start_xvfb
  export WINEPREFIX=$work/prefix
  timeout 300 wine wineboot -i >/dev/null 2>&1 || { echo "the Wine prefix could not be made" >&2; return 1; }
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null
  # Linked in as Windows links a font with the glyphs a font lacks; Debian's
  # Nanum fonts are what Wine finds.
  local font
  for font in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif"; do
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v "$font" \
      /t REG_MULTI_SZ /d 'NanumGothic.ttf,NanumGothic' /f >/dev/null
  done
  wineserver -w
  wine_server
}

# wine_map_com COM PTY: the prefix sees pseudo-terminal PTY as port COM (the
# dosdevices link opens it; the Ports value lists it in the serial device
# table once the prefix starts again, which this does).
wine_map_com() {
  ln -sfn "$2" "$WINEPREFIX/dosdevices/${1,,}"
  wine reg add 'HKLM\Software\Wine\Ports' /v "$1" /d "$2" /f >/dev/null
  wineserver -k || true
  wineserver -w
  wine_server
  # The device manager fills the table while the prefix starts; a program
  # started before it is done would find no port.
  local _
  for _ in $(seq 60); do
    grep -q "REG_SZ *$1\b" <<<"$(wine reg query 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' 2>/dev/null)" && return 0
    sleep 0.5
  done
  echo "wine_map_com: $1 is not in the serial device table" >&2
  return 1
}

# wine_stop: ends the prefix's programs and its server.
wine_stop() {
  wineserver -k 2>/dev/null || true
}
