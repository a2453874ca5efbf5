#!/bin/sh
# Runs one test with a home folder and XDG folders of its own, removed when
# it ends, so no test reads or writes the user's settings, caches or files
# (Qt's file dialogs remember their state under XDG_CONFIG_HOME).
# Usage: own_folders.sh COMMAND [ARGS...]
set -eu
dir=$(mktemp -d "${TMPDIR:-/tmp}/korvane-test.XXXXXX")
trap 'rm -rf "$dir"' EXIT
trap 'exit 143' TERM
trap 'exit 130' INT
mkdir -m 700 "$dir/home" "$dir/config" "$dir/data" "$dir/cache" "$dir/state" "$dir/runtime"
export HOME="$dir/home" XDG_CONFIG_HOME="$dir/config" XDG_DATA_HOME="$dir/data" \
    XDG_CACHE_HOME="$dir/cache" XDG_STATE_HOME="$dir/state" XDG_RUNTIME_DIR="$dir/runtime"
"$@"
