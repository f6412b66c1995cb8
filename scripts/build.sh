#!/usr/bin/env bash
# Configures and builds into build/ (or the folder given as $BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
if [ ! -f "$build_dir/build.ninja" ]; then
  cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNEL_WERROR=ON "$@"
fi
cmake --build "$build_dir" -j "$(nproc)"
