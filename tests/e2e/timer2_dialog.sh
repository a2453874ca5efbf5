#!/usr/bin/env bash
# Timer2 from the keyboard: tick "使用Timer2", Tab to the time box, type 100,
# calculate (PR2=0x63 at 4 MHz, 1:1) and close; open it again, type 200 and
# close. Closing calculates too, so the source carries the period for the
# time typed last (PR2=0xC7 for 200 us).
set -euo pipefail
source "$(dirname "$0")/lib.sh"
start_korvane "$1"

dialog=$(open_from_set_menu "Timer2 set" 2) || exit 1
press "$dialog" space $(tabs 4) 1 0 0 alt+v
xdotool key --clearmodifiers alt+e
await_gone "Timer2 set"
expect_no_complaint

dialog=$(open_from_set_menu "Timer2 set" 2) || exit 1
# Ctrl+A and the digits reach the time box; Tab leaves it.
press "$dialog" $(tabs 4) End ctrl+a 2 0 0 Tab alt+e
await_gone "Timer2 set"

generate_to_clipboard
expect_lines "//定时器2定时时间为:200uS,误差:0uS" " PR2=0xC7;//TMR2计数到PR2后自动清零" " TMR2ON=1;"
echo "PASS: PR2=0xC7 for the time typed last"
