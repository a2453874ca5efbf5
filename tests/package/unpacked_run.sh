#!/usr/bin/env bash
# The program unpacked from the .deb into a scratch root, started through its
# link in usr/bin, finds its files beside itself: the start screen shows its
# picture, the guide shows its picture, and the guide's help button opens the
# help file in the viewer.
# Usage: unpacked_run.sh BUILD_DIR (where build_deb.sh left the package)
set -euo pipefail
deb=$(ls "$1"/korvane_*_amd64.deb)
e2e=$(cd "$(dirname "$0")/../e2e" && pwd)
source "$e2e/lib.sh"
source "$e2e/help_lib.sh"

picture_colours=2000  # measured: 5446 with the picture, 471 without
root="$work/root"
dpkg-deb -x "$deb" "$root"
[ -L "$root/usr/bin/korvane" ] || fail "usr/bin/korvane is not a link"
for f in korvane korvane.jpg guide1.jpg korvane.chm; do
    [ -f "$root/usr/lib/korvane/$f" ] || fail "usr/lib/korvane/$f missing"
done

use_scratch_desktop
"$root/usr/bin/korvane" &
pid=$!
start=$(await_window "*") || exit 1
eval "$(xdotool getwindowgeometry --shell "$start")"
# Without its picture the start screen shrinks to an empty 160 x 100.
[ "$WIDTH" -eq 480 ] && [ "$HEIGHT" -eq 300 ] || fail "start screen ${WIDTH}x$HEIGHT, not the 480x300 picture"
press "$start" k
main=$(await_window "Korvane") || exit 1

press "$main" alt+s g
guide=$(await_window "设置向导") || exit 1
deadline=$(($(now_ms) + 15000))
# The shaded picture brings thousands of colours; the bare form has a few
# hundred. Until the guide has painted, a shot may have fewer.
colours=0
while [ "$colours" -le $picture_colours ]; do
    [ "$(now_ms)" -lt "$deadline" ] || fail "the guide shows no picture ($colours colours)"
    import -window "$guide" "$work/guide.png"
    colours=$(convert "$work/guide.png" -format %k info:)
done

press "$guide" alt+h
await_help_viewer
echo "PASS: start screen 480x300, guide with $colours colours, help in '$(xdotool getwindowname "$viewer")'"
