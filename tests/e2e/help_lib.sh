# Shared by the scripts that open the help file: a desktop of their own and
# the viewer's window. Source it after lib.sh.

# Title the help file gives itself; the viewer shows it in its window title.
help_title="Korvane 帮助"

# A home of its own, so the viewer's settings and the user's default
# applications stay out of the test; the help opens in xchm.
use_scratch_desktop() {
    export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
    mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"
    printf '[Default Applications]\napplication/vnd.ms-htmlhelp=xchm.desktop\n' >"$XDG_CONFIG_HOME/mimeapps.list"
    viewer_pid=""
    trap 'cleanup; [ -z "$viewer_pid" ] || kill "$viewer_pid" 2>/dev/null || true' EXIT
}

# Waits up to 20 s for a visible window whose title ends with the help's
# title; sets $viewer to its id and $viewer_pid to its process, which then
# ends with the test.
await_help_viewer() {
    local deadline=$(($(now_ms) + 20000)) id
    while [ "$(now_ms)" -lt "$deadline" ]; do
        # Compared here rather than by xdotool's pattern, which the C locale
        # keeps from matching Chinese.
        for id in $(xdotool search --onlyvisible --name . 2>/dev/null); do
            [[ $(xdotool getwindowname "$id" 2>/dev/null) == *"$help_title" ]] || continue
            viewer=$id
            viewer_pid=$(xdotool getwindowpid "$id" 2>/dev/null || true)
            return 0
        done
        sleep 0.1
    done
    fail "no help viewer window; windows: $(xdotool search --onlyvisible --name . 2>/dev/null |
        while read -r w; do xdotool getwindowname "$w"; done | tr '\n' '|')"
}
