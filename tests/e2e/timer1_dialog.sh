#!/usr/bin/env bash
# Timer1 from the keyboard: tick "使用Timer1", Tab to the time box, type
# 50000 µs, calculate and close; at 4 MHz and 1:1 the start value 15536
# is split into TMR1H=0x3C and TMR1L=0xB0 in the generated source.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
start_korvane "$1"

dialog=$(open_from_set_menu "Timer1 set" 1) || exit 1
# Focus starts on the Timer1 box; the time box selects its text on focus.
press "$dialog" space $(tabs 5) 5 0 0 0 0 alt+v
xdotool key --clearmodifiers alt+e
await_gone "Timer1 set"
expect_no_complaint

generate_to_clipboard
expect_lines " TMR1CS=0;" " TMR1H=0x3C;TMR1L=0xB0;" " TMR1ON=1;"
echo "PASS: TMR1H=0x3C, TMR1L=0xB0"
