#!/usr/bin/env bash
# The compiled help holds every page of the sources, unchanged apart from its
# GBK encoding, and its contents, index and pages link only to what exists.
# Usage: chm_contents.sh KORVANE.CHM HELP_SOURCE_DIR
set -euo pipefail
chm=$1 src=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# Files the project lists, and files in the source folder: the same set.
listed=$(sed -n '/^\[FILES\]/,/^\[/p' "$src/korvane.hhp" | grep -v '^\[' | grep . | sort)
present=$(cd "$src" && ls *.html *.css | sort)
[ "$listed" = "$present" ] || fail "pages not listed in korvane.hhp: $(comm -3 <(echo "$listed") <(echo "$present") | tr '\n' ' ')"

# chmcmd adds a README of its own.
enum_chmLib "$chm" | awk '$5 == "file" && $6 ~ /^\/[^#$:]/ && $6 != "/_#_README_#_" { print substr($6, 2) }' | sort >"$work/stored"
expected=$( (echo "$listed"; echo toc.hhc; echo index.hhk) | sort)
diff <(echo "$expected") "$work/stored" >&2 || fail "the CHM does not hold exactly the listed files"

mkdir "$work/x"
extract_chmLib "$chm" "$work/x" >/dev/null

# Each page is read as the viewer reads it: decoded by the charset it
# declares, which must hold every character of its text. A page whose charset
# is too narrow (gb2312 for a GBK dash) shows blank in xchm, so a page that
# does not decode, decodes to no text, or to replacement characters, fails.
# The contents and the index are decoded by the help file's language, GBK.
decode() {
    local f=$1 charset=GBK
    if [[ $f == *.html ]]; then
        charset=$(grep -o -i -m1 'charset=[A-Za-z0-9_-]*' "$work/x/$f" | cut -d= -f2)
        [ -n "$charset" ] || fail "$f declares no charset"
    fi
    iconv -f "$charset" -t UTF-8 "$work/x/$f" 2>/dev/null || fail "$f does not decode as its declared $charset"
}
# Pages differ from their sources only in the encoding, the declared charset
# and the blanks that let the viewer break lines after punctuation.
normal() { sed -E -e 's/charset=[A-Za-z0-9_-]+/charset=/I' -e 's/(，|。|；|：|、|）) /\1/g'; }
for f in $expected; do
    case $f in
        *.css) cmp -s "$src/$f" "$work/x/$f" || fail "$f differs" ;;
        *) decode "$f" >"$work/decoded"
           ! grep -q $'\xef\xbf\xbd' "$work/decoded" || fail "$f decodes to replacement characters"
           [[ $f != *.html ]] || [ -n "$(sed -e 's/<[^>]*>//g' "$work/decoded" | tr -d '[:space:]')" ] \
               || fail "$f decodes to no text"
           cmp -s <(normal <"$src/$f") <(normal <"$work/decoded") || fail "$f differs from its source" ;;
    esac
done

# Every page is in the table of contents.
for f in $(echo "$listed" | grep '\.html$'); do
    grep -q "\"Local\" value=\"$f\"" "$src/toc.hhc" || fail "$f is missing from the contents"
done

# Every internal link and every contents or index entry leads to a stored
# file and, with a #, to an anchor in it.
links=0
while IFS=: read -r from target; do
    case $target in http:* | https:* | mailto:*) continue ;; esac
    file=${target%%#*} anchor=
    [[ $target == *#* ]] && anchor=${target#*#}
    [ -n "$file" ] || file=$from
    [ -f "$work/x/$file" ] || fail "$from links to missing $file"
    if [ -n "$anchor" ]; then
        grep -Eq "(name|id)=\"$anchor\"" "$work/x/$file" || fail "$from links to missing anchor $target"
    fi
    links=$((links + 1))
done < <(
    cd "$work/x"
    grep -oH 'href="[^"]*"' *.html | sed -E 's/^([^:]+):href="([^"]*)"$/\1:\2/'
    grep -oH '"Local" value="[^"]*"' toc.hhc index.hhk | sed -E 's/^([^:]+):"Local" value="([^"]*)"$/\1:\2/'
)
[ "$links" -gt 0 ] || fail "no links found"
echo "PASS: $(echo "$expected" | wc -l) files, $links links"
