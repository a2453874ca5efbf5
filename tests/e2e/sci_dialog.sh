#!/usr/bin/env bash
# A baud rate picked from the keyboard at 11.0592 MHz: the crystal command
# (Alt+S, O) takes 11.0592, the SCI dialog (Alt+S, S) is switched on with
# space, which lists 38400 down to 4800 and shows 4800; Shift+Tab reaches the
# rate list, Up picks 9600 with SPBRG 0x47, Alt+E closes.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
start_korvane "$1"

press "$main" alt+s
xdotool key o
answer "晶体设置" ctrl+a 1 1 period 0 5 9 2 Return

dialog=$(open_from_set_menu "SCI(串行通信接口)设置" s) || exit 1
# Focus starts on "使用串行口"; back past OK, calculate and SPBRG to the rates.
press "$dialog" space shift+Tab shift+Tab shift+Tab shift+Tab Up alt+e
await_gone "SCI(串行通信接口)设置"

generate_to_clipboard
expect_lines " SPBRG=0x47;// 通信波特率为9600"
echo "PASS: 9600 baud with SPBRG=0x47"
