#!/usr/bin/env bash
# Draws the start-screen picture (korvane.jpg) and the setup-guide picture
# (guide1.jpg) with ImageMagick. Run again after changing the drawing.
set -euo pipefail
cd "$(dirname "$0")"
latin=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
cjk=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc

# Pins of a chip seen from above: two rows of n pins along a body at x,y w*h.
pins() {
    local x=$1 y=$2 w=$3 h=$4 n=$5 draw="" i px step
    step=$(( w / n ))
    for ((i = 0; i < n; i++)); do
        px=$(( x + step / 2 + i * step - 3 ))
        draw+="rectangle $px,$(( y - 10 )) $(( px + 6 )),$y "
        draw+="rectangle $px,$(( y + h )) $(( px + 6 )),$(( y + h + 10 )) "
    done
    echo "$draw"
}

convert -size 480x300 gradient:'#0d2a4a-#1f5f8b' -stroke none \
    -fill '#c8ccd4' -draw "$(pins 40 70 170 60 10)" \
    -fill '#23262d' -draw 'roundrectangle 40,70 210,130 6,6' \
    -fill '#3a3f49' -draw 'circle 52,100 58,100' \
    -font "$latin" -pointsize 14 -fill '#e8eaed' -annotate +82+106 'PIC16F87x' \
    -fill none -stroke '#7fb3d5' -strokewidth 2 -draw 'line 40,200 210,200' \
    -draw 'line 125,140 125,200' -draw 'line 70,140 70,170' -draw 'line 180,140 180,230' \
    -stroke none -font "$latin" -pointsize 44 -fill white -annotate +234+118 'Korvane' \
    -font "$cjk" -pointsize 20 -fill '#d6e6f2' -annotate +236+160 'PIC C 代码生成助手' \
    -font "$latin" -pointsize 12 -fill '#9fc3dd' -annotate +236+244 'part · config word · ports · port B' \
    -annotate +236+262 'timers · A/D · CCP · SCI · MSSP' \
    -quality 85 -strip korvane.jpg

convert -size 180x240 gradient:'#1f5f8b-#0d2a4a' -stroke none \
    -fill '#c8ccd4' -draw "$(pins 35 60 110 40 7)" \
    -fill '#23262d' -draw 'roundrectangle 35,60 145,100 6,6' \
    -fill '#3a3f49' -draw 'circle 46,80 51,80' \
    -font "$latin" -pointsize 24 -fill white -annotate +37+160 'Korvane' \
    -font "$cjk" -pointsize 18 -fill '#d6e6f2' -annotate +54+195 '设置向导' \
    -quality 85 -strip guide1.jpg
