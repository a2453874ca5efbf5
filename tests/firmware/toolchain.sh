#!/usr/bin/env bash
# Builds the PIC14 C compiler the firmware tests use, once, into the folder
# given (default build/firmware-toolchain); a second run with the result in
# place does nothing. Debian's sdcc is built without the PIC14 port, so the
# compiler is rebuilt from Debian's own sdcc source package with that port
# alone. Then, for each of the eight parts, the chip's register declarations
# and configuration names are made from gputils' include file, in a header
# named as SDCC's own (parts/PART/pic16f877a.h, ...; chip-regs.h includes it
# for the classic text's pic.h) and defined in regs.o,
# and the few runtime pieces a linked program needs are taken from the same
# source (parts/PART/runtime.lib).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
out=${1:-$root/build/firmware-toolchain}
version=4.2.0+dfsg-1
parts=(16f873 16f874 16f876 16f877 16f873a 16f874a 16f876a 16f877a)

# The compiler and the runtime's sources, into $out/compiler.
build_compiler() {
  local dir=$out/compiler
  rm -rf "$dir"
  mkdir -p "$dir/apt/lists/partial" "$dir/src"
  # A private apt configuration with one deb-src line for the archive this
  # machine already uses, so the system's own sources stay as they are.
  local uri
  uri=$(awk '/^URIs:/ {print $2; exit}' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)
  [ -n "$uri" ] || uri=$(awk '/^deb / {print $2; exit}' /etc/apt/sources.list 2>/dev/null || true)
  [ -n "$uri" ] || uri=http://deb.debian.org/debian
  echo "deb-src $uri bookworm main" >"$dir/apt/sources.list"
  local apt=(-o Dir::Etc::sourcelist="$dir/apt/sources.list" -o Dir::Etc::sourceparts=/nonexistent
    -o Dir::State::Lists="$dir/apt/lists" -o Dir::Cache="$dir/apt" -o APT::Get::List-Cleanup=0
    -o APT::Sandbox::User=root)
  apt-get "${apt[@]}" update -qq
  (cd "$dir/src" && apt-get "${apt[@]}" source --download-only -qq "sdcc=$version")
  tar -xJf "$dir/src"/sdcc_*.orig.tar.xz -C "$dir/src"
  local src
  src=$(find "$dir/src" -maxdepth 1 -mindepth 1 -type d -name 'sdcc*' | head -n1)

  local disabled=() port
  for port in mcs51 z80 z180 r2k r2ka r3ka sm83 tlcs90 ez80_z80 z80n ds390 ds400 pic16 hc08 s08 stm8 \
    pdk13 pdk14 pdk15 mos6502; do
    disabled+=("--disable-$port-port")
  done
  (cd "$src" && ./configure --enable-pic14-port "${disabled[@]}" --disable-ucsim --disable-device-lib \
    --disable-packihx --disable-sdcpp --disable-sdcdb --disable-sdbinutils --disable-non-free \
    >"$dir/configure.log" 2>&1) || { tail -n 30 "$dir/configure.log" >&2; return 1; }
  make -C "$src/src" -j2 >"$dir/make.log" 2>&1 || { tail -n 30 "$dir/make.log" >&2; return 1; }

  mkdir -p "$dir/bin" "$dir/include"
  cp "$src/bin/sdcc" "$dir/bin/sdcc"
  ln -sf /usr/bin/sdcpp "$dir/bin/sdcpp"
  cp -r "$src/device/include/." "$dir/include/"
  cp -r "$src/device/lib/pic14/libsdcc" "$dir/libsdcc"
  # The sources are no longer needed.
  rm -rf "$dir/src" "$dir/apt"
}

# One part's register declarations and runtime, into $out/parts/PART.
build_part() {
  local part=$1 dir=$out/parts/$1 inc=/usr/share/gputils/header/p$1.inc
  local lib=$out/compiler/libsdcc
  mkdir -p "$dir"
  awk -v mode=header -f "$here/chip-header.awk" "$inc" >"$dir/pic$1.h"
  echo "#include \"pic$1.h\"" >"$dir/chip-regs.h"
  awk -v mode=module -f "$here/chip-header.awk" "$inc" >"$dir/regs.c"
  local cc=("$out/compiler/bin/sdcc" -mpic14 "-p$part" --no-warn-non-free --nostdinc -I"$dir"
    -I"$out/compiler/include" -I"$out/compiler/include/pic14" --std-c11)
  (
    cd "$dir"
    "${cc[@]}" -c regs.c -o regs.o
    "${cc[@]}" -c "$lib/idata.c" -o idata.o
    "${cc[@]}" -c "$lib/regular/shadowregs.c" -o shadowregs.o
    local pieces=(idata.o shadowregs.o) n
    # Reads and writes through a generic pointer (a driver's buffer).
    for n in 1 2 3 4; do
      for op in get put; do
        gpasm -c -p "p$part" -I "$lib/regular" -I "$out/compiler/include/pic14" "$lib/regular/_gptr$op$n.S" \
          -o "gptr$op$n.o" >/dev/null
        pieces+=("gptr$op$n.o")
      done
    done
    gplib -c runtime.lib "${pieces[@]}"
  )
}

# Each stamp names what its result was made by: the compiler's the version
# and its build steps, the whole toolchain's this script and the header
# maker, so a change to the part files leaves the compiler alone.
compiler_want="$version $(declare -f build_compiler | md5sum | cut -d' ' -f1)"
want="$version $(cat "$0" "$here/chip-header.awk" | md5sum | cut -d' ' -f1)"
if [ -f "$out/ready" ] && [ "$(cat "$out/ready")" = "$want" ]; then
  exit 0
fi

for tool in sdcpp gpasm gplink gplib gpsim bison flex dpkg-source; do
  command -v "$tool" >/dev/null || { echo "toolchain: $tool is missing (scripts/setup installs it)" >&2; exit 1; }
done
started=$SECONDS
rm -f "$out/ready"
mkdir -p "$out"
if ! [ -f "$out/compiler/ready" ] || [ "$(cat "$out/compiler/ready")" != "$compiler_want" ]; then
  build_compiler
  echo "$compiler_want" >"$out/compiler/ready"
fi
# Everything but the compiler is made again (an older layout's files too).
find "$out" -mindepth 1 -maxdepth 1 ! -name compiler -exec rm -rf {} +
for part in "${parts[@]}"; do
  build_part "$part"
done
echo "$want" >"$out/ready"
echo "toolchain: built in $((SECONDS - started)) s into $out"
