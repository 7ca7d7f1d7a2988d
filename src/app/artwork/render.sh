#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders the artwork into the PNG files that the resource file embeds and
# that the installation puts into the icon theme. Needs rsvg-convert
# (librsvg2-bin), python3 and ImageMagick's convert. The PNGs and the Windows
# icon are kept in git so that building does not need these tools.
set -euo pipefail
cd "$(dirname "$0")"
python3 cursors.py .
for size in 48 256; do
  rsvg-convert -w "$size" -h "$size" vornak.svg -o "../icons/vornak-$size.png"
done
# The two small sizes have their own drawings on the pixel grid.
for size in 16 32; do
  rsvg-convert -w "$size" -h "$size" "vornak-$size.svg" -o "../icons/vornak-$size.png"
done
# The Windows program's icon holds the four sizes (256 as PNG inside the ICO).
convert ../icons/vornak-16.png ../icons/vornak-32.png ../icons/vornak-48.png ../icons/vornak-256.png ../icons/vornak.ico
for cursor in split hand; do
  rsvg-convert -w 32 -h 32 "$cursor.svg" -o "../icons/$cursor.png"
done
