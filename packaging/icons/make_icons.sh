#!/usr/bin/env bash
# Draws the program icon (a chip with a "K") with ImageMagick at the sizes of
# the hicolor theme. Run again after changing the drawing.
set -euo pipefail
cd "$(dirname "$0")"
latin=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf

pins=""
for i in 0 1 2 3 4; do
    p=$(( 66 + i * 27 ))
    pins+="rectangle $p,20 $(( p + 12 )),48 rectangle $p,208 $(( p + 12 )),236 "
    pins+="rectangle 20,$p 48,$(( p + 12 )) rectangle 208,$p 236,$(( p + 12 )) "
done
convert -size 256x256 xc:none -stroke none \
    -fill '#c8ccd4' -draw "$pins" \
    -fill '#1f5f8b' -draw 'roundrectangle 44,44 212,212 18,18' \
    -fill '#0d2a4a' -draw 'roundrectangle 56,56 200,200 12,12' \
    -fill '#7fb3d5' -draw 'circle 78,78 86,78' \
    -font "$latin" -pointsize 120 -fill white -gravity center -annotate +4+6 'K' \
    korvane-256.png
for n in 16 22 24 32 48 64 128; do
    convert korvane-256.png -filter Lanczos -resize ${n}x${n} -depth 8 -strip korvane-$n.png
done
mogrify -depth 8 -strip korvane-256.png
