#!/usr/bin/env bash
# The XC8 form of a project that uses every module, for each of the eight
# parts, through clang's C99 front end (XC8 v2's is one too) against the
# part's registers and REGbits unions as gputils names them, with comments
# and without. The file is checked as the program saves it, GBK with CR LF: a
# comment whose last character ends in the byte of '\' would swallow the
# next line.
#   xc8_syntax.sh KORVANE-GEN CLANG
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
gen=$1 clang=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
parts=(16f873 16f874 16f876 16f877 16f873a 16f874a 16f876a 16f877a)  # ChipPart 0..7

# -ffreestanding: XC8 is a freestanding compiler, where `void main(void)` is
#   the rule (hosted C would want int).
# -Wno-unknown-pragmas: `#pragma config` is XC8's own (config_word.sh
#   checks its words against the assembler).
# -Wstrict-prototypes, -Wmissing-prototypes: every function, the interrupt
#   routine too, is declared with (void) before its definition.
flags=(-fsyntax-only -std=c99 -ffreestanding -Wall -Wextra -Wstrict-prototypes -Wmissing-prototypes -Werror
  -Wno-unknown-pragmas)

failed=0
for index in "${!parts[@]}"; do
  part=${parts[index]} dir=$work/${parts[index]}
  mkdir -p "$dir"
  "$here/xc8-header.sh" "$part" >"$dir/xc.h"
  sed "s/^ChipPart = .*/ChipPart = $index/" "$here/everything.kvp" >"$dir/project.kvp"
  # The parts without comparators: the project as switching to them leaves it.
  [[ $part == *a ]] || sed -i "s/^CmpEn = 1/CmpEn = 0/" "$dir/project.kvp"
  problems=
  for comments in --comments --no-comments; do
    if ! "$gen" --form xc8 "$comments" -o "$dir/main.c" "$dir/project.kvp"; then
      problems+="korvane-gen $comments refused the project"$'\n'
    elif ! "$clang" "${flags[@]}" -I "$dir" "$dir/main.c" >"$dir/clang.log" 2>&1; then
      problems+="$comments:"$'\n'$(iconv -f gbk -t utf-8 -c "$dir/clang.log")$'\n'
    fi
  done
  # The delays' crystal is the project's.
  grep -q $'^#define _XTAL_FREQ 20000000\r$' "$dir/main.c" || problems+="no _XTAL_FREQ of 20000000"$'\n'
  if [ -n "$problems" ]; then
    printf 'PIC%s:\n%s\n' "${part^^}" "$problems"
    failed=1
  else
    echo "PIC${part^^}: clean"
  fi
done
exit $failed
