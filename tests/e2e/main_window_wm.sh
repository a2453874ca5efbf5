#!/usr/bin/env bash
# The main window under a window manager (openbox): it comes up maximised,
# the window menu (Alt+Space, Restore) restores it, and its frame, title bar
# included, is then centred on the screen. Maximised and restored, the text
# area with both scroll bars lies wholly inside the client area. Then the
# source is generated onto the clipboard.
# Widgets are native windows here (QT_USE_NATIVE_WINDOWS) so that X can tell
# where the text area is.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
export QT_USE_NATIVE_WINDOWS=1
start_korvane "$1"

state() { xprop -id "$main" _NET_WM_STATE; }
# Geometry of a window relative to its parent, "W H X Y".
geometry() { xwininfo -id "$1" | awk '/Relative upper-left X/{x=$NF} /Relative upper-left Y/{y=$NF}
    /Width:/{w=$NF} /Height:/{h=$NF} END{print w, h, x, y}'; }
# Direct children of a window, largest first.
children() {
    xwininfo -children -id "$1" | awk '/^ +0x[0-9a-f]+ /{split($0, a, "  "); print $1}' |
        while read -r id; do echo "$(geometry "$id" | awk '{print $1 * $2}') $id"; done | sort -rn | cut -d' ' -f2
}
# The text area is the one child of the client area, which is the main
# window's largest child (the other is the menu bar).
text_area_inside() {
    local client text cw ch tw th tx ty
    client=$(children "$main" | head -1)
    text=$(children "$client" | head -1)
    read -r cw ch _ _ < <(geometry "$client")
    read -r tw th tx ty < <(geometry "$text")
    [ "$tx" -ge 0 ] && [ "$ty" -ge 0 ] && [ $((tx + tw)) -le "$cw" ] && [ $((ty + th)) -le "$ch" ] ||
        fail "$1: text area ${tw}x${th}+${tx}+${ty} outside the client area ${cw}x${ch}"
}
# Left and top of the frame against the centred place, within a pixel.
centred() {
    local extents left right top bottom x y w h sw sh
    extents=$(xprop -id "$main" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    read -r left right top bottom <<<"$extents"
    x=$(xwininfo -id "$main" | awk '/Absolute upper-left X/{print $NF}')
    y=$(xwininfo -id "$main" | awk '/Absolute upper-left Y/{print $NF}')
    read -r w h _ _ < <(geometry "$main")
    read -r sw sh < <(xwininfo -root | awk '/Width:/{w=$NF} /Height:/{h=$NF} END{print w, h}')
    local dx=$((x - left - (sw - w - left - right) / 2)) dy=$((y - top - (sh - h - top - bottom) / 2))
    [ "${dx#-}" -le 1 ] && [ "${dy#-}" -le 1 ]
}

state | grep -q MAXIMIZED_VERT || fail "not maximised at start"
text_area_inside "maximised"

press "$main" alt+space
xdotool key Down Down Down Return  # the window menu's third item, Restore
deadline=$(($(now_ms) + 15000))
until ! state | grep -q MAXIMIZED && centred; do
    [ "$(now_ms)" -lt "$deadline" ] || fail "restored frame not centred: $(xwininfo -id "$main" | grep -E 'Absolute|Width|Height' | tr -s ' \n' ' ')"
    sleep 0.05
done
text_area_inside "restored"

generate_to_clipboard
expect_lines "#include<pic.h>" "void main()"
echo "PASS: restored centred, the text area inside"
