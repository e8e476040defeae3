#!/usr/bin/env bash
# Renders the PNG sizes of the program icon from its SVG into data/icons
# (the PNGs are committed, so a build needs no SVG renderer). Run again
# after changing data/icons/hicolor/scalable/apps/velmar32.svg.
# Needs rsvg-convert (package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/.."
svg=data/icons/hicolor/scalable/apps/velmar32.svg
for size in 16 22 24 32 48 64 128 256; do
  folder="data/icons/hicolor/${size}x${size}/apps"
  mkdir -p "$folder"
  rsvg-convert --width "$size" --height "$size" --format png "$svg" --output "$folder/velmar32.png"
done
