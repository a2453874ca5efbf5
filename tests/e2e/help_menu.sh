#!/usr/bin/env bash
# Help -> 内容 in the real program opens the help file in the desktop's CHM
# viewer: a window titled with the help's title appears. Then F1 in the Port
# dialog starts xchm at that dialog's page.
# Usage: help_menu.sh KORVANE [SCREENSHOT.png]
set -euo pipefail
korvane=$1 screenshot=${2:-}
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/help_lib.sh"

use_scratch_desktop
start_korvane "$korvane"
press "$main" alt+h Return
await_help_viewer
echo "PASS: help viewer '$(xdotool getwindowname "$viewer")'"
if [ -n "$screenshot" ]; then
    xdotool windowsize --sync "$viewer" 900 640
    sleep 1  # the viewer lays its page out again after the resize
    import -window "$viewer" "$screenshot"
fi
kill "$viewer_pid"
while xdotool search --onlyvisible --pid "$viewer_pid" >/dev/null 2>&1; do sleep 0.1; done

dialog=$(open_from_set_menu "Port Set" p) || exit 1
press "$dialog" F1
await_help_viewer
tr '\0' ' ' <"/proc/$viewer_pid/cmdline" | grep -q '#xchm:/port\.html' ||
    fail "F1 in the Port dialog started '$(tr '\0' ' ' <"/proc/$viewer_pid/cmdline")'"
echo "PASS: F1 in the Port dialog opens port.html"
