#!/usr/bin/env bash
# Sets up and builds, then starts the module simulator on a virtual port.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
sim=build/sim/tarnel-sim
if [ ! -x "$sim" ]; then
  echo "run: the module simulator is not built yet; nothing to run." >&2
  exit 1
fi
exec "$sim"
