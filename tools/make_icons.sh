#!/usr/bin/env bash
# Renders the program's icon into the PNG sizes the desktop menu uses. Not
# part of the build: run it after changing the SVG and commit what it writes.
# Needs rsvg-convert (Debian package librsvg2-bin).
set -euo pipefail
dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/../data/desktop/icons" && pwd)"
for size in 48 64 96 128 256; do
  rsvg-convert -w "$size" -h "$size" "$dir/pastelboard.svg" -o "$dir/pastelboard-$size.png"
done
