#!/usr/bin/env bash
# A plain install from a build into a scratch prefix: the programs, their
# files and the desktop's entry points are there, Debian's own files are not,
# and the desktop knows the .kvp type and opens it with Korvane.
# Usage: local_install.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >"$prefix.log" 2>&1 || { cat "$prefix.log"; fail "install failed"; }
rm -f "$prefix.log"
for f in lib/korvane/korvane lib/korvane/korvane-gen lib/korvane/korvane-calc lib/korvane/korvane.chm \
    lib/korvane/modules/korvane-pinmap.so \
    bin/korvane-gen share/applications/korvane.desktop share/mime/packages/korvane.xml; do
    [ -e "$prefix/$f" ] || fail "$f missing"
done
for f in share/lintian share/doc/korvane/changelog.Debian.gz; do
    [ ! -e "$prefix/$f" ] || fail "$f is Debian's own and belongs only in the package"
done
"$prefix/bin/korvane-gen" --version >/dev/null || fail "bin/korvane-gen does not run"
# Its pin map module is found beside the program, through the link in bin/.
printf '[korvane]\nformat = 2\nchip = "PIC16F87x"\n' >"$prefix/pins.kvp"
"$prefix/bin/korvane-gen" --pin-map "$prefix/pins.png" "$prefix/pins.kvp" ||
    fail "bin/korvane-gen does not draw the pin map"

# The desktop sees only the scratch prefix's data.
export XDG_DATA_HOME="$prefix/none" XDG_DATA_DIRS="$prefix/share" XDG_CONFIG_HOME="$prefix/none"
export XDG_CONFIG_DIRS="$prefix/none" XDG_CURRENT_DESKTOP=X-Generic
grep -q '^50:application/x-korvane-project:\*\.kvp$' "$prefix/share/mime/globs2" ||
    fail "the mime database has no *.kvp: $(cat "$prefix/share/mime/globs2" 2>&1)"
default=$(xdg-mime query default application/x-korvane-project)
[ "$default" = korvane.desktop ] || fail "xdg-mime opens .kvp with '$default', not korvane.desktop"
echo "PASS: installed into a scratch prefix; .kvp is application/x-korvane-project, opened by korvane.desktop"
