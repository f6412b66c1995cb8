#!/usr/bin/env bash
# Renders the icon's PNG sizes from its two drawings (rsvg-convert, Debian's
# librsvg2-bin). The PNG files are committed, so that building needs no image
# tool: run this again after changing a drawing and commit them.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 24; do
  mkdir -p "${size}x${size}"
  rsvg-convert -w "$size" -h "$size" tarnel-manager-small.svg -o "${size}x${size}/tarnel-manager.png"
done
for size in 32 48 64 128 256; do
  mkdir -p "${size}x${size}"
  rsvg-convert -w "$size" -h "$size" tarnel-manager.svg -o "${size}x${size}/tarnel-manager.png"
done
# The Windows installer's icon.
convert 16x16/tarnel-manager.png 24x24/tarnel-manager.png 32x32/tarnel-manager.png \
  48x48/tarnel-manager.png 64x64/tarnel-manager.png 256x256/tarnel-manager.png tarnel-manager.ico
