# Shared by the end-to-end scripts: start the program, find its windows by
# title and type into them. Source it after setting `set -euo pipefail`.

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

# Until no visible window is titled $1, within 15 s.
await_gone() {
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

# Starts the program and dismisses the start screen with a key; sets $pid and
# $main, the main window's id.
start_korvane() {
    "$1" &
    pid=$!
    local start
    # The start screen is the program's only window until it closes.
    start=$(await_window "*") || exit 1
    [ "$(xdotool getwindowname "$start")" != "Korvane" ] || fail "main window before the start screen"
    press "$start" k
    main=$(await_window "Korvane") || exit 1
}

# Generates the source with comments from the keyboard. The menu opens on its
# first item, and two items share the access key C, so each C moves to the
# next of them (wrapping round) and Enter runs the choice: C reaches 清除文本,
# the second C 生成C文件.
generate_with_comments() {
    local main=$1 question notice
    press "$main" alt+t
    xdotool key c c Return
    question=$(await_window "提示") || exit 1
    press "$question" Return  # Yes, the default button
    notice=$(await_window "已复制文本") || exit 1
    press "$notice" Return
}

# Opens a dialog from the Set menu by its access key and prints its id:
# open_from_set_menu TITLE KEY
open_from_set_menu() {
    press "$main" alt+s
    xdotool key "$2"
    await_window "$1"
}

# Tab repeated $1 times, as arguments for press.
tabs() {
    local i
    for ((i = 0; i < $1; i++)); do printf 'Tab '; done
}

# Waits for the box titled $1, checks that no other box came instead, and
# answers it with the keys that follow.
answer() {
    local title=$1 box
    shift
    box=$(await_window "$title") || exit 1
    press "$box" "$@"
    await_gone "$title"
}

# Fails when a calculator's stop box is on screen.
expect_no_complaint() {
    ! windows | cut -f2 | grep -qx "输入数据不正确\|超出定时范围\|晶振频率设置错误" ||
        fail "the calculator complained"
}

# Generates the source and keeps the real clipboard in $work/clipboard.
generate_to_clipboard() {
    generate_with_comments "$main"
    xclip -o -selection clipboard >"$work/clipboard"
}

# Each argument must be a whole CRLF line of the clipboard.
expect_lines() {
    local line
    for line in "$@"; do
        grep -qxF "$line"$'\r' "$work/clipboard" || {
            tr -d '\r' <"$work/clipboard" >&2
            fail "no line '$line' on the clipboard"
        }
    done
}
