#!/usr/bin/env bash
# Builds the program as Debian builds packages (hardening flags, no tests),
# makes the .deb with CPack and checks it with lintian.
# Usage: build_deb.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
src=$1 build=$2

eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
# CMake reads no CPPFLAGS; debugging information would only be stripped.
CXXFLAGS="$(echo " $CXXFLAGS " | sed 's/ -g / /') $CPPFLAGS"
export CXXFLAGS LDFLAGS

start=$(date +%s)
cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE= -DKORVANE_BUILD_TESTS=OFF -DKORVANE_PRECOMPILE_QT=ON >/dev/null
cmake --build "$build"
rm -f "$build"/korvane_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/korvane_*_amd64.deb)
echo "built $(basename "$deb"), $(stat -c %s "$deb") bytes, in $(($(date +%s) - start)) s"
dpkg-deb --info "$deb" | grep -E '^ (Depends|Recommends|Installed-Size):'

start=$(date +%s)
# CI runs as root, which lintian merely remarks on.
report=$(lintian "$deb" 2>&1 | grep -v '^running with root privileges is not recommended!$') || true
echo "lintian took $(($(date +%s) - start)) s"
if [ -n "$report" ]; then
    echo "$report"
    echo "FAIL: lintian reports the above" >&2
    exit 1
fi
echo "PASS: lintian reports nothing"
