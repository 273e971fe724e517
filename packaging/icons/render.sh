#!/bin/sh
# Renders the bitmap sizes of the program's icon from its SVG drawing (run
# after changing the drawing; needs rsvg-convert from librsvg2-bin).
set -eu
cd "$(dirname "$0")"
for size in 48 256; do
  rsvg-convert -w "$size" -h "$size" com.quorvane.Dovetext.svg -o "com.quorvane.Dovetext-$size.png"
done
