#!/usr/bin/env bash
# The Port dialog from the keyboard while Timer0 counts on RA4: Timer0 set to
# "计数方式 " (Tab to the clock options, Down twice), then in the Port dialog
# space on "PortA" is refused with "禁止关闭RA", and space on RA4 (Tab to it)
# with "RA4口已被占用"; both stay ticked, so the source sets RA4 as input.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
start_korvane "$1"

dialog=$(open_from_set_menu "Timer0 set" 0) || exit 1
press "$dialog" space Tab Down Down alt+e
await_gone "Timer0 set"
expect_no_complaint

dialog=$(open_from_set_menu "Port Set" p) || exit 1
# Focus starts on the PortA box.
press "$dialog" space
answer "禁止关闭RA" Return
# Past the other four use boxes and RA0..RA3 to RA4.
press "$dialog" $(tabs 9) space
answer "RA4口已被占用" Return
press "$dialog" Return  # "确定(&E)", the default button
await_gone "Port Set"

generate_to_clipboard
expect_lines " TRISA = 0x10;" " TRISB = 0x00;" " T0CS=1;"
echo "PASS: PortA and RA4 kept for Timer0"
