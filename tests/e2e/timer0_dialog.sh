#!/usr/bin/env bash
# The Timer0 dialog in the real program under X, from the keyboard only: open
# it from the Set menu (Alt+S, 0), tick "使用Timer0" (space), Tab to the time
# box, type 100, calculate (Alt+V), close (Alt+E), generate (Alt+T, C, C,
# Enter, Yes, OK) and find the Timer0 set-up with TMR0=0xCE on the real
# clipboard.
# Usage: timer0_dialog.sh KORVANE [ignored...]
set -euo pipefail
korvane=$1
# Tab presses from the ticked Timer0 box to the time box; the Qt test
# TimerViews.Timer0FromTheKeyboard checks the same number.
tabs_to_time=5
source "$(dirname "$0")/lib.sh"

start_korvane "$korvane"

press "$main" alt+s
xdotool key 0
dialog=$(await_window "Timer0 set") || exit 1
tab_keys=()
for ((i = 0; i < tabs_to_time; i++)); do tab_keys+=(Tab); done
# Focus starts on the Timer0 box; the time box selects its text on focus.
press "$dialog" space "${tab_keys[@]}" 1 0 0 alt+v
# Alt+V clicks a moment later; a stop box would mean the calculation failed.
xdotool key --clearmodifiers alt+e
await_gone "Timer0 set"
windows | cut -f2 | grep -qx "输入数据不正确\|超出定时范围\|晶振频率设置错误" &&
    fail "the calculator complained"

generate_with_comments "$main"

xclip -o -selection clipboard >"$work/clipboard"
printf '%s\r\n' \
    "void fun_timerset()" \
    "{" \
    "//Timer0初始化设置" \
    " PSA=0;//Timer0 使用预分频器" \
    "//Timer0选择分频率为1:2" \
    " PS0=0;PS1=0;PS2=0;" \
    "//内部时钟定时方式,定时时间:100uS,误差:0uS" \
    " T0CS=0;" \
    " TMR0=0xCE;" \
    "}" >"$work/expected"
# The function as it stands in the clipboard, from its head to its brace.
sed -n '/^void fun_timerset()\r$/,/^}\r$/p' "$work/clipboard" >"$work/timerset"
cmp -s "$work/expected" "$work/timerset" || {
    diff "$work/expected" "$work/timerset" >&2 || true
    fail "fun_timerset on the clipboard is not the expected Timer0 set-up"
}
grep -q $'^ fun_timerset();\r$' "$work/clipboard" || fail "main does not call fun_timerset"
echo "PASS: TMR0=0xCE on the clipboard"
