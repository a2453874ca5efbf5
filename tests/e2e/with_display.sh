#!/usr/bin/env bash
# Runs a command on a virtual X server of its own. The server picks a free
# display number itself and reports it (-displayfd), so two runs, or another
# X server on the machine, can never meet on one display.
# Usage: with_display.sh [--wm] [--screen WxH] COMMAND [ARGS...]
#   --wm      run the openbox window manager on the display first
#   --screen  screen size, 1280x1024 unless given
set -euo pipefail
wm=no screen=1280x1024
while [ $# -gt 0 ]; do
    case $1 in
        --wm) wm=yes; shift ;;
        --screen) screen=$2; shift 2 ;;
        *) break ;;
    esac
done

dir=$(mktemp -d)
server="" manager=""
stop() {
    [ -n "$manager" ] && kill "$manager" 2>/dev/null || true
    [ -n "$server" ] && kill "$server" 2>/dev/null || true
    [ -n "$server" ] && wait "$server" 2>/dev/null || true
    rm -rf "$dir"
}
trap stop EXIT

mkfifo "$dir/display"
Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp 3>"$dir/display" 2>"$dir/xvfb.log" &
server=$!
number=""
read -r -t 20 number <"$dir/display" || true
[ -n "$number" ] || { cat "$dir/xvfb.log" >&2; echo "Xvfb reported no display" >&2; exit 1; }
export DISPLAY=":$number"

wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
if [ "$wm" = yes ]; then
    # The manager is up once it has claimed the screen; a manager that gave
    # up is started again.
    for attempt in 1 2 3; do
        openbox --sm-disable >"$dir/openbox.log" 2>&1 &
        manager=$!
        for _ in $(seq 200); do
            wm_running || ! kill -0 "$manager" 2>/dev/null && break
            sleep 0.05
        done
        wm_running && break
        kill "$manager" 2>/dev/null || true
        manager=""
    done
    wm_running || { cat "$dir/openbox.log" >&2; echo "openbox did not start on $DISPLAY" >&2; exit 1; }
fi

status=0
"$@" || status=$?
exit "$status"
