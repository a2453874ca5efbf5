#!/usr/bin/env bash
# `korvane FILE.kvp` opens the project at start, as a file manager would: the
# source generated from the keyboard (Alt+T, C, C, Enter, Yes, OK) must be on
# the real clipboard exactly as korvane-gen writes it for the same file.
# Usage: project_argument.sh KORVANE KORVANE_GEN
set -euo pipefail
korvane=$1 korvane_gen=$2
source "$(dirname "$0")/lib.sh"

cat >"$work/timer0.kvp" <<'PROJECT'
[korvane]
format = 1
chip = "PIC16F87x"

[settings]
T0En = true
T0Int = -1
T0TimeUs = 100.0
T0RegText = "0xCE"
PortCUsed = 1
PortCDir = [1, 1, 0, 0, 0, 0, 0, 0]
PROJECT
# The program is started through exec, so it keeps the pid the helpers watch.
printf '#!/bin/sh\nexec "%s" "%s"\n' "$korvane" "$work/timer0.kvp" >"$work/korvane-with-project"
chmod +x "$work/korvane-with-project"

start_korvane "$work/korvane-with-project"
generate_with_comments "$main"

"$korvane_gen" "$work/timer0.kvp" >"$work/expected"
xclip -o -selection clipboard >"$work/clipboard"
cmp "$work/expected" "$work/clipboard" || fail "clipboard differs from korvane-gen's text"
grep -q $'TMR0=0xCE;\r' "$work/clipboard" || fail "the project's Timer0 set-up is missing"
echo "PASS: the project named on the command line was generated"
