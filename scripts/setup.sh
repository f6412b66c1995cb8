#!/usr/bin/env bash
# Installs what building, running and testing Tarnel Manager needs, from
# Debian's packages. Safe to run again: it does nothing when all is there.
set -euo pipefail

# The packages of the Linux build; $PACKAGES names others instead (the
# Windows build's).
if [ -n "${PACKAGES:-}" ]; then
  read -r -a packages <<<"$PACKAGES"
else
  packages=(
    g++ clang cmake ninja-build pkg-config
    libasio-dev libcli11-dev nlohmann-json3-dev libtomlplusplus-dev libssl-dev
    qt6-base-dev libgtest-dev libgmock-dev libbenchmark-dev
    clang-format clang-tidy libclang-rt-14-dev scdoc
    fonts-nanum fonts-dejavu-core xvfb xauth x11-apps imagemagick xdotool
  )
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then SUDO=sudo; else
    echo "setup: these packages are missing and installing them needs root: ${missing[*]}" >&2
    exit 1
  fi
else
  SUDO=
fi
echo "setup: installing ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
