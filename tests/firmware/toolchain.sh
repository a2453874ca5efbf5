#!/usr/bin/env bash
# Builds the PIC14 C compiler the firmware tests use, once, into the folder
# given (default build/firmware-toolchain); a second run with the result in
# place does nothing. Debian's sdcc is built without the PIC14 port, so the
# compiler is rebuilt from Debian's own sdcc source package with that port
# alone. The chip's register declarations are made from gputils'
# p16f877a.inc, and the few runtime pieces a linked program needs are taken
# from the same source.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
out=${1:-$root/build/firmware-toolchain}
version=4.2.0+dfsg-1
stamp="$out/ready"
# The stamp names the version and this script's own content, so a change to
# either rebuilds.
want="$version $(cat "$0" "$here/chip-header.awk" | md5sum | cut -d' ' -f1)"
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want" ]; then
  exit 0
fi

for tool in sdcpp gpasm gplink gplib gpsim bison flex dpkg-source; do
  command -v "$tool" >/dev/null || { echo "toolchain: $tool is missing (scripts/setup installs it)" >&2; exit 1; }
done

rm -rf "$out"
mkdir -p "$out/apt/lists/partial" "$out/src"
started=$SECONDS

# A private apt configuration with one deb-src line for the archive this
# machine already uses, so the system's own sources stay as they are.
uri=$(awk '/^URIs:/ {print $2; exit}' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)
[ -n "$uri" ] || uri=$(awk '/^deb / {print $2; exit}' /etc/apt/sources.list 2>/dev/null || true)
[ -n "$uri" ] || uri=http://deb.debian.org/debian
echo "deb-src $uri bookworm main" >"$out/apt/sources.list"
apt=(-o Dir::Etc::sourcelist="$out/apt/sources.list" -o Dir::Etc::sourceparts=/nonexistent
  -o Dir::State::Lists="$out/apt/lists" -o Dir::Cache="$out/apt" -o APT::Get::List-Cleanup=0 -o APT::Sandbox::User=root)
apt-get "${apt[@]}" update -qq
(cd "$out/src" && apt-get "${apt[@]}" source --download-only -qq "sdcc=$version")
tar -xJf "$out/src"/sdcc_*.orig.tar.xz -C "$out/src"
src=$(find "$out/src" -maxdepth 1 -mindepth 1 -type d -name 'sdcc*' | head -n1)

disabled=()
for port in mcs51 z80 z180 r2k r2ka r3ka sm83 tlcs90 ez80_z80 z80n ds390 ds400 pic16 hc08 s08 stm8 \
  pdk13 pdk14 pdk15 mos6502; do
  disabled+=("--disable-$port-port")
done
(cd "$src" && ./configure --enable-pic14-port "${disabled[@]}" --disable-ucsim --disable-device-lib \
  --disable-packihx --disable-sdcpp --disable-sdcdb --disable-sdbinutils --disable-non-free >"$out/configure.log" 2>&1) ||
  { tail -n 30 "$out/configure.log" >&2; exit 1; }
make -C "$src/src" -j2 >"$out/make.log" 2>&1 || { tail -n 30 "$out/make.log" >&2; exit 1; }

mkdir -p "$out/bin" "$out/include" "$out/lib"
cp "$src/bin/sdcc" "$out/bin/sdcc"
ln -sf /usr/bin/sdcpp "$out/bin/sdcpp"
cp -r "$src/device/include/." "$out/include/"

# The chip's registers: a header for the programs and one module defining them.
awk -v mode=header -f "$here/chip-header.awk" /usr/share/gputils/header/p16f877a.inc >"$out/include/p16f877a-regs.h"
awk -v mode=module -f "$here/chip-header.awk" /usr/share/gputils/header/p16f877a.inc >"$out/lib/regs.c"

cc=("$out/bin/sdcc" -mpic14 -p16f877a --no-warn-non-free --nostdinc -I"$out/include" -I"$out/include/pic14" --std-c11)
lib="$src/device/lib/pic14/libsdcc"
cd "$out/lib"
"${cc[@]}" -c regs.c -o regs.o
"${cc[@]}" -c "$lib/idata.c" -o idata.o
"${cc[@]}" -c "$lib/regular/shadowregs.c" -o shadowregs.o
pieces=(idata.o shadowregs.o)
for n in 1 2 3 4; do
  gpasm -c -p p16f877a -I "$lib/regular" -I "$out/include/pic14" "$lib/regular/_gptrget$n.S" -o "gptrget$n.o" >/dev/null
  pieces+=("gptrget$n.o")
done
gplib -c runtime.lib "${pieces[@]}"

# The sources are no longer needed.
rm -rf "$out/src" "$out/apt"
echo "$want" >"$stamp"
echo "toolchain: built in $((SECONDS - started)) s into $out"
