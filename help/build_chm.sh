#!/usr/bin/env bash
# Compiles the help sources into korvane.chm.
# Usage: build_chm.sh SOURCE_DIR OUTPUT.chm
# The sources are UTF-8; the viewers decode the pages and the contents by the
# help file's language (Simplified Chinese), so they are stored as GBK, and
# each page says so: a page that claims gb2312 but holds a GBK-only character
# (a dash) is shown blank.
set -euo pipefail
src=$1 out=$2
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

# xchm's HTML widget breaks lines only at blanks, so a page gets one after
# each Chinese punctuation mark; without them a paragraph runs off the page.
for f in "$src"/*.html "$src"/*.hhc "$src"/*.hhk "$src"/*.hhp; do
    # Alternatives rather than a bracket, which the C locale reads byte by byte.
    breaks='s/(，|。|；|：|、|）)/\1 /g; s/） (，|。|；|：|、)/）\1/g'
    [[ $f == *.html ]] || breaks=''
    sed -E -e 's/charset=utf-8/charset=gbk/I' -e "$breaks" "$f" | iconv -f UTF-8 -t GBK >"$stage/$(basename "$f")" \
        || { echo "$f: a character has no GBK form; write it as an HTML entity" >&2; exit 1; }
done
cp "$src"/*.css "$stage/"

# chmcmd leaves an empty file behind when a listed file is missing.
(cd "$stage" && chmcmd korvane.hhp >chmcmd.log 2>&1) || { cat "$stage/chmcmd.log" >&2; exit 1; }
[ -s "$stage/korvane.chm" ] || { cat "$stage/chmcmd.log" >&2; echo "chmcmd wrote nothing" >&2; exit 1; }
mv "$stage/korvane.chm" "$out"
