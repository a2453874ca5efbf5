#!/usr/bin/env bash
# The real program under X, driven from the keyboard: the start screen goes on
# a key, the source is generated (Alt+T, C, Enter, Yes, OK), the real clipboard
# must hold exactly the expected text, and closing the window must end the
# process within two seconds, after the closing splash.
# Usage: main_window.sh KORVANE EXPECTED_SOURCE CLOSE_WINDOW [SCREENSHOT.png]
set -euo pipefail
korvane=$1 expected_source=$2 close_window=$3 screenshot=${4:-}
work=$(mktemp -d)
pid=""
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# Visible windows of the program, one "id<TAB>title" per line.
windows() {
    local id
    for id in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
        printf '%s\t%s\n' "$id" "$(xdotool getwindowname "$id" 2>/dev/null)"
    done
}

# Id of the program's visible window titled exactly $1 ("*" for any), within 15 s.
await_window() {
    local deadline=$(($(now_ms) + 15000)) id title
    while [ "$(now_ms)" -lt "$deadline" ]; do
        while IFS=$'\t' read -r id title; do
            if [ "$1" = "*" ] || [ "$title" = "$1" ]; then
                echo "$id"
                return 0
            fi
        done < <(windows)
        kill -0 "$pid" 2>/dev/null || fail "the program ended while waiting for '$1'"
        sleep 0.05
    done
    fail "no window '$1'; visible: $(windows | tr '\n' ' ')"
}

press() {  # press WINDOW KEY...: focus the window, then type the keys
    local window=$1
    shift
    xdotool windowfocus --sync "$window"
    xdotool key --clearmodifiers "$@"
}

"$korvane" &
pid=$!

# The start screen is the program's only window until it closes.
start=$(await_window "*") || exit 1
[ "$(xdotool getwindowname "$start")" != "Korvane" ] || fail "main window before the start screen"
press "$start" k

main=$(await_window "Korvane") || exit 1
press "$main" alt+t
# The menu opens on its first item, and two items share the access key C, so
# each C moves to the next of them (wrapping round) and Enter runs the choice:
# C reaches 清除文本, the second C 生成C文件.
xdotool key c c Return
question=$(await_window "提示") || exit 1
press "$question" Return  # Yes, the default button
notice=$(await_window "已复制文本") || exit 1
press "$notice" Return

"$expected_source" >"$work/expected"
xclip -o -selection clipboard >"$work/clipboard"
cmp "$work/expected" "$work/clipboard" || fail "clipboard differs from the generated source"
grep -q $'#include<pic.h>\r' "$work/clipboard" || fail "clipboard lacks the CRLF header line"

[ -z "$screenshot" ] || import -window "$main" "$screenshot"

closed_at=$(now_ms)
"$close_window" "$main"
splash_seen=no
while kill -0 "$pid" 2>/dev/null; do
    windows | grep -qv $'\tKorvane$' && splash_seen=yes
    [ $(($(now_ms) - closed_at)) -le 2000 ] || fail "still running 2 s after closing"
    sleep 0.05
done
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || fail "exit status $status"
[ "$splash_seen" = yes ] || fail "no closing splash"
echo "PASS: ended $(($(now_ms) - closed_at)) ms after closing"
