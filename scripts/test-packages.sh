#!/usr/bin/env bash
# Checks what scripts/package.sh made in dist/ (or $DIST_DIR): the Debian
# package with lintian, desktop-file-validate and appstreamcli, then installed
# with apt-get, tried and removed again (this needs root: CI runs it on a
# machine of its own); the Windows installer run silently under Wine in a
# private prefix, the installed tarnelctl.exe tried, then uninstalled; the zip.
# Prints "N passed, N failed".
set -euo pipefail
cd "$(dirname "$0")/.."
PACKAGES="lintian desktop-file-utils appstream man-db unzip wine wine64" bash scripts/setup.sh
dist=${DIST_DIR:-$PWD/dist}
deb=$(ls "$dist"/tarnel-manager_*.deb)
setup_exe=$(ls "$dist"/tarnel-manager-*-setup.exe)
zip_file=$(ls "$dist"/tarnel-manager-*-win64.zip)
version=$(dpkg-deb -f "$deb" Version)
. scripts/lib/helpers.sh

work=$(mktemp -d)
cleanup() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# silent COMMAND...: succeeds when the command succeeds and prints nothing
# (desktop-file-validate reports hints but exits with 0).
silent() {
  local out
  out=$("$@" 2>&1) && [ -z "$out" ] || { echo "$out"; return 1; }
}

# same_options PROGRAM: the options that --help lists (each at the start of a
# line) are the ones the installed manual page describes (each at the start
# of a line of roff, in bold).
same_options() {
  diff <("$1" --help | sed -n 's/^ *\(-[a-zA-Z], \)\{0,1\}\(--[a-z][a-z-]*\).*/\2/p' | sort -u) \
    <(zcat "$(man -w "$1")" | sed -n 's/^\\fB\(--[a-z][a-z-]*\).*/\1/p' | sort -u)
}

# Checks on the package itself, unpacked.
dpkg-deb -x "$deb" "$work/deb"
check "lintian finds no error" lintian --fail-on error --info "$deb"
check "desktop entry without errors or hints" silent desktop-file-validate "$work/deb/usr/share/applications/tarnel-manager.desktop"
check "AppStream metainfo valid" appstreamcli validate --no-net "$work/deb/usr/share/metainfo/com.quillmore.TarnelManager.metainfo.xml"
check "the programs' libraries are dependencies" sh -c "dpkg-deb -f '$deb' Depends | grep -q libqt6widgets6"

# Installed on this machine, then removed.
export DEBIAN_FRONTEND=noninteractive
check "apt-get installs the package" apt-get install -y -qq "$deb" </dev/null
dpkg -L tarnel-manager | sort >"$work/files"
check "tarnelctl --version" sh -c "tarnelctl --version | grep -qF '$version'"
check "tarnel-sim --help" tarnel-sim --help
for page in tarnelctl tarnel-sim tarnel-manager; do
  check "man -w $page" man -w "$page"
done
check "tarnelctl: --help and the manual page name the same options" same_options tarnelctl
check "tarnel-sim: --help and the manual page name the same options" same_options tarnel-sim
check "desktop entry in place" test -f /usr/share/applications/tarnel-manager.desktop
for size in 16 24 32 48 64 128 256; do
  check "icon ${size}x${size} in place" test -f "/usr/share/icons/hicolor/${size}x${size}/apps/tarnel-manager.png"
done
check "scalable icon in place" test -f /usr/share/icons/hicolor/scalable/apps/tarnel-manager.svg
check "bash completion in place" test -f /usr/share/bash-completion/completions/tarnelctl
check "udev rule in place" test -f /usr/lib/udev/rules.d/60-tarnel-modemmanager-ignore.rules
check "apt-get removes the package" apt-get purge -y -qq tarnel-manager </dev/null
check "the package is gone" sh -c '! dpkg -s tarnel-manager 2>/dev/null | grep -q "^Status: install"'
# Directories shared with other packages stay; every file and the package's
# own directories go.
left_behind() {
  while read -r path; do
    if [ -d "$path" ]; then
      case $path in */tarnel-manager) [ ! -e "$path" ] || echo "$path" ;; esac
    elif [ -e "$path" ] || [ -L "$path" ]; then
      echo "$path"
    fi
  done <"$work/files" | grep . && return 1 || return 0
}
check "nothing of the package is left" left_behind

# The Windows installer, in a private Wine prefix.
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
limit=120
echo "test-packages: preparing a Wine prefix"
timeout 300 wine wineboot -i >/dev/null 2>&1 || { echo "test-packages: the Wine prefix could not be made" >&2; exit 1; }
wineserver -w
program_files=$(wine cmd /c 'echo %ProgramW6432%' 2>/dev/null | tr -d '\r')
install_dir=$(winepath -u "$program_files\\Tarnel Manager" 2>/dev/null)
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarnel Manager'
environment_key='HKLM\System\CurrentControlSet\Control\Session Manager\Environment'
system_path() { wine reg query "$environment_key" /v Path 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_[A-Z_]*SZ *//p'; }
path_before=$(system_path)

# path_is TEXT: the system PATH is TEXT.
path_is() {
  [ "$(system_path)" = "$1" ] || { echo "PATH: $(system_path)"; return 1; }
}

check "the installer runs silently" timeout "$limit" wine "$setup_exe" /S
check "tarnelctl.exe installed" test -f "$install_dir/tarnelctl.exe"
# The windowed program is in the installer when the Windows build has it.
shortcut=
# The listing is read whole first: grep -q stops reading at its match, and
# under pipefail unzip's broken pipe made the test false now and then, which
# skipped these checks.
zip_listing=$(unzip -l "$zip_file")
if grep -q ' tarnel-manager.exe$' <<<"$zip_listing"; then
  shortcut="$(winepath -u "$(wine cmd /c 'echo %ProgramData%' 2>/dev/null | tr -d '\r')")/Microsoft/Windows/Start Menu/Programs/Tarnel Manager.lnk"
  check "tarnel-manager.exe installed" test -f "$install_dir/tarnel-manager.exe"
  check "a Start-menu entry for it" test -f "$shortcut"
fi
check "the installed tarnelctl.exe --version" sh -c "cd \"\$1\" && timeout $limit wine ./tarnelctl.exe --version | grep -qF $version" sh "$install_dir"
check "registered under Add or remove programs" sh -c "wine reg query \"\$1\" /v UninstallString | grep -qi uninstall.exe" sh "$uninstall_key"
check "the install folder is on the PATH" path_is "$path_before;$program_files\\Tarnel Manager"
check "the uninstaller runs silently" timeout "$limit" wine "$install_dir/uninstall.exe" /S
# The uninstaller goes on from a copy of itself once the one started has
# returned: the checks wait until every program of the prefix has ended.
timeout "$limit" wineserver -w || true
check "the install folder is gone" test ! -e "$install_dir"
[ -z "$shortcut" ] || check "the Start-menu entry is gone" test ! -e "$shortcut"
check "the uninstall entry is gone" sh -c "! wine reg query \"\$1\" >/dev/null 2>&1" sh "$uninstall_key"
check "the PATH is as before" path_is "$path_before"
check "/NOPATH installs without touching the PATH" timeout "$limit" wine "$setup_exe" /S /NOPATH
check "  the PATH after /NOPATH" path_is "$path_before"
# Short enough to be read, too long for the installer's strings to hold with
# the entry added.
long_path=$path_before
while [ ${#long_path} -lt 1000 ]; do long_path+=';C:\Tools'; done
wine reg add "$environment_key" /v Path /t REG_EXPAND_SZ /d "$long_path" /f >/dev/null 2>&1
check "an installation over a PATH too long to change" timeout "$limit" wine "$setup_exe" /S
check "  leaves the PATH alone" path_is "$long_path"

check "the zip holds tarnelctl.exe" sh -c "unzip -l '$zip_file' | grep -q ' tarnelctl.exe$'"

checks_done
