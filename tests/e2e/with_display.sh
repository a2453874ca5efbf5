#!/usr/bin/env bash
# Runs a command on a virtual X server of its own, on a display number that
# the server itself has found free and reports (-displayfd) once it is
# ready, so two runs, or another X server on the machine, never meet on one
# display.
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

# A number far above the ones that "xvfb-run -a" (99 up) and other
# "-displayfd" servers (0 up) try, so no other server's probing can ever
# disturb this one; the server refuses a number that is held and reports
# the number once it accepts clients, and only then do we go on. No reset:
# a server that resets when its last client leaves refuses clients for a
# moment, and the first check here is such a client.
mkfifo "$dir/display"
number=""
for attempt in 1 2 3 4 5; do
    Xvfb ":$((1000 + RANDOM))" -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp -noreset \
        3>"$dir/display" 2>"$dir/xvfb.log" &
    server=$!
    number=""
    read -r -t 20 number <"$dir/display" || true
    [ -n "$number" ] && xprop -display ":$number" -root >/dev/null 2>&1 && break
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
    server="" number=""
done
[ -n "$number" ] || { cat "$dir/xvfb.log" >&2; echo "no X server would start" >&2; exit 1; }
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
if [ "$status" -ne 0 ]; then
    kill -0 "$server" 2>/dev/null || echo "the X server on $DISPLAY had ended" >&2
    tail -5 "$dir/xvfb.log" >&2
fi
exit "$status"
