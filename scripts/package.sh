#!/usr/bin/env bash
# Makes everything there is to install into dist/ (or $DIST_DIR): the Debian
# package (CPack), the Windows installer (NSIS) and a zip of the Windows
# programs. Installs what is missing from Debian's packages and builds first;
# builds already in build/ and build-windows/ are used as they are.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
dist=${DIST_DIR:-$root/dist}
build_dir=build
win_build=build-windows

bash scripts/setup.sh
PACKAGES="scdoc dpkg-dev file nsis zip" bash scripts/setup.sh
bash scripts/build.sh
# A build configured before scdoc was installed looks for it again.
cmake "$build_dir" >/dev/null
bash scripts/build-windows.sh

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build_dir/CMakeCache.txt")
rm -rf "$dist"
mkdir -p "$dist"

echo "package: the Debian package"
cpack --config "$build_dir/CPackConfig.cmake" -G DEB -B "$build_dir/cpack" >/dev/null
cp "$build_dir/cpack/tarnel-manager_${version}_"*.deb "$dist/"

echo "package: the Windows installer and zip"
programs=("$win_build/ctl/tarnelctl.exe")
nsis_defines=(-DVERSION="$version" -DCTL_EXE="$root/$win_build/ctl/tarnelctl.exe"
  -DOUTFILE="$dist/tarnel-manager-$version-setup.exe")
if [ -f "$win_build/app/tarnel-manager.exe" ]; then
  programs+=("$win_build/app/tarnel-manager.exe")
  nsis_defines+=(-DMANAGER_EXE="$root/$win_build/app/tarnel-manager.exe")
fi
makensis -V2 -WX "${nsis_defines[@]}" packaging/windows/tarnel-manager.nsi
zip -q -j -X "$dist/tarnel-manager-$version-win64.zip" "${programs[@]}"

echo "package: in $dist:"
ls -1 "$dist"
