#!/usr/bin/env bash
# Draws the program's icon at every size the desktop asks for (twk3-<size>.png),
# from the same shapes as twk3.svg, with ImageMagick (which has no SVG reader
# here): drawn at four times 256 px, then scaled down.
set -euo pipefail
cd "$(dirname "$0")"
k=4
r() { echo "$(( $1 * k )),$(( $2 * k )) $(( ($1 + $3) * k )),$(( ($2 + $4) * k )) $(( $5 * k )),$(( $5 * k ))"; }
convert -size $((256 * k))x$((256 * k)) xc:none \
  -fill '#5A3A1A' -draw "roundrectangle $(r 28 28 200 220 14)" \
  -fill '#8B5A2B' -draw "roundrectangle $(r 38 38 180 200 8)" \
  -fill '#FFFFFF' -draw "roundrectangle $(r 54 56 148 168 4)" \
  -fill '#7F7F7F' -draw "roundrectangle $(r 84 10 88 38 8)" \
  -fill '#C0C0C0' -draw "roundrectangle $(r 92 18 72 22 5)" \
  -fill '#9A9A9A' -draw "roundrectangle $(r 74 84 108 10 3)" -draw "roundrectangle $(r 74 106 108 10 3)" \
  -draw "roundrectangle $(r 74 128 80 10 3)" \
  -fill none -stroke '#1E5FD6' -strokewidth $((14 * k)) \
  -draw "roundrectangle $(r 70 158 62 44 22)" -draw "roundrectangle $(r 124 158 62 44 22)" \
  big.png
for size in 16 22 24 32 48 64 128 256; do
  convert big.png -filter Lanczos -resize "${size}x${size}" -strip PNG32:"twk3-$size.png"
done
rm big.png
