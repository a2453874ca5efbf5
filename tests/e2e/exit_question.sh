#!/usr/bin/env bash
# Ending with unsaved settings asks first, from the keyboard: a new crystal
# (Alt+S, O, 8, Enter) changes the project; 文件 → 退出 (Alt+F, E) asks
# whether to save it, and 取消 (Esc) keeps the program running with its main
# window active again; closing the window asks again, and 否 (Alt+N) ends the
# program after the closing splash.
# Usage: exit_question.sh KORVANE CLOSE_WINDOW
set -euo pipefail
close_window=$2
source "$(dirname "$0")/lib.sh"
start_korvane "$1"

press "$main" alt+s
xdotool key o
input=$(await_window "晶体设置") || exit 1
press "$input" ctrl+a 8 Return
await_gone "晶体设置"

press "$main" alt+f
xdotool key e
answer "保存工程" Escape
sleep 0.5
kill -0 "$pid" 2>/dev/null || fail "取消 ended the program"
! windows | cut -f2 | grep -qvx "Korvane" || fail "取消 left another window: $(windows | tr '\n' ' ')"
# Without a window manager the program hands the focus back itself.
[ "$(xdotool getwindowfocus)" = "$main" ] || fail "the main window did not get the focus back"

closed_at=$(now_ms)
"$close_window" "$main"
answer "保存工程" alt+n
while kill -0 "$pid" 2>/dev/null; do
    [ $(($(now_ms) - closed_at)) -le 4000 ] || fail "still running after 否"
    sleep 0.05
done
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || fail "exit status $status"
echo "PASS: 取消 kept the program, 否 ended it"
