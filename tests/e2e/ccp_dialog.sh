#!/usr/bin/env bash
# CCP1 in compare mode from the keyboard: tick "使用CCP1模块" (space), Tab to
# the modes and Down to "比较模式", Tab past the interrupt box to the
# sub-modes and Down to "匹配时输出0"; the dialog keeps its size and place.
# Enter closes, the Timer1 question is answered Yes (Enter), the Timer1
# dialog opens above and is closed (Alt+E) with Timer1 still off, which its
# close warns of (Enter). The source sets CCP1M to 1001.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
start_korvane "$1"

title="捕捉/比较/脉宽调制(CCP)模块设置"
dialog=$(open_from_set_menu "$title" c) || exit 1
opened=$(xdotool getwindowgeometry "$dialog")
press "$dialog" space Tab Down Tab Tab Down
[ "$(xdotool getwindowgeometry "$dialog")" = "$opened" ] || fail "the CCP dialog moved or changed size"
press "$dialog" Return
answer "确认Timer1工作方式" Return
timer1=$(await_window "Timer1 set") || exit 1
press "$timer1" alt+e
answer "确认Timer1工作方式" Return
await_gone "Timer1 set"
await_gone "$title"

generate_to_clipboard
expect_lines " CCP1M0=1;" " CCP1M1=0;" " CCP1M2=0;" " CCP1M3=1;"
echo "PASS: CCP1 compare, output 0 on match"
