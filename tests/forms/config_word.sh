#!/usr/bin/env bash
# The modern forms' configuration against gputils. For each part and each
# row of choices, the XC8 form's pragma fields after gpasm's CONFIG directive
# must assemble to the word the classic form's __CONFIG gives the same
# project, and the SDCC form's names, as the part's include file defines
# them, must AND to it; every choice gpasm knows for the part must appear in
# some row; and with the word not to be written (CfgWrite 0) there is no
# pragma.
#   config_word.sh KORVANE-GEN GPASM
set -euo pipefail
gen=$1 gpasm=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
parts=(16f873 16f874 16f876 16f877 16f873a 16f874a 16f876a 16f877a)  # ChipPart 0..7

# One project a row, the choices' indexes; every field takes each of its
# family's. The two families differ in how many CP and WRT offer.
fields=(CfgOsc CfgWdt CfgPwrt CfgBor CfgLvp CfgDebug CfgCp CfgCpd CfgWrt)
plain_rows=("0 0 0 0 0 0 0 0 0" "1 1 1 1 1 1 1 1 1" "2 0 1 0 1 0 2 1 0" "3 1 0 1 0 1 3 0 1")
a_rows=("0 0 0 0 0 0 0 0 0" "1 1 1 1 1 1 1 1 1" "2 0 1 0 1 0 0 1 2" "3 1 0 1 0 1 1 0 3")

failures=0 checked=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }

# project FILE CHIPPART KEY=VALUE...: a project file of those settings.
project() {
  local file=$1 index=$2
  shift 2
  printf '[korvane]\nchip = "PIC16F87x"\nformat = 2\n\n[settings]\nChipPart = %s\nCfgOscByHand = 1\n' "$index" >"$file"
  printf '%s\n' "$@" | sed 's/=/ = /' >>"$file"
}

for index in "${!parts[@]}"; do
  part=${parts[index]} dir=$work/${parts[index]}
  mkdir -p "$dir"
  : >"$dir/seen"
  rows=("${plain_rows[@]}")
  [[ $part != *a ]] || rows=("${a_rows[@]}")
  for row in "${!rows[@]}"; do
    read -ra choice <<<"${rows[row]}"
    settings=()
    for f in "${!fields[@]}"; do settings+=("${fields[f]}=${choice[f]}"); done
    what="PIC${part^^} row $row (${rows[row]})"
    base=$dir/row$row
    project "$base.kvp" "$index" "${settings[@]}"

    if ! "$gen" "$base.kvp" >"$base.classic" || ! "$gen" --form xc8 "$base.kvp" >"$base.xc8" ||
      ! "$gen" --form sdcc "$base.kvp" >"$base.sdcc"; then
      fail "$what: korvane-gen refused the project"
      continue
    fi
    classic=$(sed -n 's/^__CONFIG(0x\([0-9A-Fa-f]*\));\r$/\1/p' "$base.classic")
    tr -d '\r' <"$base.xc8" | sed -n 's/^#pragma config //p' | sed 's|//.*||' >"$base.pragma"
    if [ -z "$classic" ] || [ ! -s "$base.pragma" ]; then
      fail "$what: classic word '${classic}', pragma lines $(wc -l <"$base.pragma")"
      continue
    fi
    tr ',' '\n' <"$base.pragma" | tr -d ' \t' >>"$dir/seen"

    # SDCC: each name's value from the include file, all ANDed together.
    sdcc_word=$((16#3FFF))
    for name in $(sed -n 's/^static __code uint16_t __at(_CONFIG) configword = \(.*\);\r$/\1/p' "$base.sdcc" | tr -d '&'); do
      value=$(awk -v n="$name" '$1 == n && $2 == "EQU" { gsub(/[^0-9A-Fa-f]/, "", $3); sub(/^H/, "", $3); print $3 }' \
        "/usr/share/gputils/header/p$part.inc")
      [ -n "$value" ] || { fail "$what: SDCC name $name is not in p$part.inc"; continue 2; }
      sdcc_word=$((sdcc_word & 16#$value))
    done
    [ "$sdcc_word" -eq $((16#$classic)) ] ||
      fail "$what: the SDCC word is $(printf 0x%04X "$sdcc_word"), __CONFIG is 0x$classic"

    { printf '\tLIST p=%s\n\t#include <p%s.inc>\n' "$part" "$part"
      sed 's/^/\tCONFIG /' "$base.pragma"
      printf '\tEND\n'; } >"$base.asm"
    if ! (cd "$dir" && "$gpasm" -p "p$part" "row$row.asm" >"row$row.log" 2>&1); then
      fail "$what: gpasm refused $(cat "$base.pragma"): $(grep -i error "$base.log")"
      continue
    fi
    # 0x2007 is byte address 0x400E, its low byte first.
    assembled=$(sed -n 's/^:02400E00\(..\)\(..\)..\r*$/\2\1/p' "$base.hex")
    checked=$((checked + 1))
    if [ -z "$assembled" ] || [ $((16#$assembled)) -ne $((16#$classic)) ]; then
      fail "$what: $(cat "$base.pragma") assembles to 0x${assembled:-none}, __CONFIG is 0x$classic"
    fi
  done

  # What gpasm lists for the part, FIELD=VALUE, against what the rows gave.
  "$gpasm" -p "p$part" -s | awk '$1 == "Directive:" { d = $2 } $1 == "Option:" { print d "=" $2 }' >"$dir/known"
  missed=$(sort -u "$dir/seen" | comm -23 <(sort -u "$dir/known") -)
  [ -z "$missed" ] || fail "PIC${part^^}: no row gave $(tr '\n' ' ' <<<"$missed")"

  project "$dir/off.kvp" "$index" CfgWrite=0
  if ! "$gen" --form xc8 "$dir/off.kvp" >"$dir/off.xc8"; then
    fail "PIC${part^^}: korvane-gen refused CfgWrite 0"
  elif grep -q '^#pragma config' "$dir/off.xc8"; then
    fail "PIC${part^^}: CfgWrite 0 still has a pragma"
  fi
done
echo "$checked words compared, $failures failures"
[ "$failures" -eq 0 ]
