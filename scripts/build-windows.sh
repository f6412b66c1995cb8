#!/usr/bin/env bash
# Builds the core, tarnelctl.exe, the windowed program tarnel-manager.exe on
# the windowing layer's Win32 backend, and their tests for 64-bit Windows with
# mingw-w64 into build-windows/ (or $BUILD_DIR), installing the cross compiler,
# asio's headers and GoogleTest's sources from Debian's packages first. Both
# programs are statically linked: they run on a Windows machine with nothing
# else installed. Arguments go to CMake (for example -DTARNEL_WIN32_UI=OFF:
# the core and tarnelctl.exe only), also for a build directory that is
# configured already.
set -euo pipefail
cd "$(dirname "$0")/.."
PACKAGES="g++-mingw-w64-x86-64-posix cmake ninja-build libasio-dev libcli11-dev nlohmann-json3-dev libtomlplusplus-dev googletest" bash scripts/setup.sh
build_dir=${BUILD_DIR:-build-windows}
if [ ! -f "$build_dir/build.ninja" ] || [ $# -gt 0 ]; then
  cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARNEL_WERROR=ON \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake "$@"
fi
cmake --build "$build_dir" -j "$(nproc)"
echo "build-windows: $build_dir/ctl/tarnelctl.exe"
if [ -f "$build_dir/app/tarnel-manager.exe" ]; then
  echo "build-windows: $build_dir/app/tarnel-manager.exe"
fi
