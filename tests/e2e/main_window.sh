#!/usr/bin/env bash
# The real program under X, driven from the keyboard: the start screen goes on
# a key, the source is generated (Alt+T, C, Enter, Yes, OK), the real clipboard
# must hold exactly the expected text, and closing the window must end the
# process within two seconds, after the closing splash.
# Usage: main_window.sh KORVANE EXPECTED_SOURCE CLOSE_WINDOW [SCREENSHOT.png]
set -euo pipefail
korvane=$1 expected_source=$2 close_window=$3 screenshot=${4:-}
source "$(dirname "$0")/lib.sh"

start_korvane "$korvane"
generate_with_comments "$main"

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
