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

windows() {  # visible windows of the program: "id<TAB>title" per line
    local id
    for id in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
        printf '%s\t%s\n' "$id" "$(xdotool getwindowname "$id" 2>/dev/null)"
    done
}

await_window() {  # id of the visible window titled exactly $1 ("*": any), within 15 s
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

await_gone() {  # until no visible window is titled $1, within 15 s
    local deadline=$(($(now_ms) + 15000))
    while windows | cut -f2 | grep -qxF "$1"; do
        [ "$(now_ms)" -lt "$deadline" ] || fail "window '$1' did not close"
        sleep 0.05
    done
}

press() {  # press WINDOW KEY...: focus the window, then type the keys
    local window=$1
    shift
    xdotool windowfocus --sync "$window"
    xdotool key --clearmodifiers "$@"
}

"$korvane" &
pid=$!

start=$(await_window "*") || exit 1
press "$start" k
main=$(await_window "Korvane") || exit 1

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

press "$main" alt+t
xdotool key c c Return  # the second C reaches 生成C文件
question=$(await_window "提示") || exit 1
press "$question" Return  # Yes, with comments
notice=$(await_window "已复制文本") || exit 1
press "$notice" Return

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
