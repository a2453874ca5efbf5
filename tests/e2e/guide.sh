#!/usr/bin/env bash
# The setup guide under a window manager, from the keyboard: its title and
# no maximise action; Enter ("下一步(&N)", with "是" chosen) at every step,
# each step's window answered as it comes (chip, configuration word, crystal prompt, Port, port B,
# Timer0, Timer1, Timer2, A/D, CCP, SCI, MSSP, comparators, the comment question and the copied notice).
# "上一步(&B)" (Alt+B) goes back after the first step and after the last, and
# Alt+N runs that step again; then "完 成(&C)" (Alt+C) closes the guide. The
# clipboard holds the source.
# Usage: guide.sh KORVANE EXPECTED_SOURCE
set -euo pipefail
source "$(dirname "$0")/lib.sh"
start_korvane "$1"

press "$main" alt+s
xdotool key g
guide=$(await_window "设置向导") || exit 1
xprop -id "$guide" _NET_WM_ALLOWED_ACTIONS | grep -q MAXIMIZE && fail "the guide can be maximised"

next() {  # next TITLE KEYS...: "下一步", then close the window it opens
    press "$guide" Return
    answer "$@"
}
back_and_next() {  # "上一步" then "下一步" by their access keys
    press "$guide" alt+b
    # A button pressed by its access key clicks a moment (100 ms) later;
    # only then is "下一步" enabled again after the last step.
    sleep 0.5
    press "$guide" alt+n
}
next "选择芯片" Return
# Back to the first step, and on: the chip's dialog opens again.
back_and_next
answer "选择芯片" Return
next "配置字" Return
next "晶体设置" Return
next "Port Set" Return
next "RB口中断及上拉设置" alt+e
next "Timer0 set" alt+e
next "Timer1 set" alt+e
next "Timer2 set" alt+e
next "A/D转换模块设置" Return
next "捕捉/比较/脉宽调制(CCP)模块设置" Return
next "SCI(串行通信接口)设置" alt+e
next "MSSP(主控同步串行口)设置" alt+e
next "比较器和参考电压模块设置" alt+e
next "提示" Return
answer "已复制文本" Return
# From the end back to the last step: generating again ends the guide as before.
back_and_next
answer "提示" Return
answer "已复制文本" Return
press "$guide" alt+c
await_gone "设置向导"

xclip -o -selection clipboard >"$work/clipboard"
"$2" >"$work/expected"
cmp -s "$work/expected" "$work/clipboard" || {
    diff "$work/expected" "$work/clipboard" >&2 || true
    fail "the guide's source differs from the one of the defaults"
}
echo "PASS: every step, back twice, the source on the clipboard"
