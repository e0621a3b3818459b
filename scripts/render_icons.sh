#!/usr/bin/env bash
# Renders the committed PNG sizes of the icon from its SVG (needs rsvg-convert from librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../packaging/icons"
for size in 16 22 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" bookkeep.svg -o "bookkeep-$size.png"
done
