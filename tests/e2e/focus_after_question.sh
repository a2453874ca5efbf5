#!/usr/bin/env bash
# Under a window manager (openbox): a CCP module in capture mode makes the
# dialog's close ask the Timer1 question; answered 否 (Alt+N), the dialog
# closes and the main window must be the active window again, so its access
# keys work without a click. Three rounds, as the fault came and went.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
start_korvane "$1"

title="捕捉/比较/脉宽调制(CCP)模块设置"
keys=(space Return)  # the first round ticks "使用CCP1模块"
for round in 1 2 3; do
    dialog=$(open_from_set_menu "$title" c) || exit 1
    press "$dialog" "${keys[@]}"
    keys=(Return)
    answer "确认Timer1工作方式" alt+n
    await_gone "$title"
    deadline=$(($(now_ms) + 3000))
    until [ "$(xdotool getactivewindow 2>/dev/null)" = "$main" ]; do
        [ "$(now_ms)" -lt "$deadline" ] ||
            fail "round $round: active window $(xdotool getactivewindow 2>/dev/null), not the main window $main"
        sleep 0.05
    done
done
echo "PASS: the main window active after each question"
