#!/usr/bin/env bash
# The whole text of each modern form for a project that uses every module,
# against the text as it was read and kept: every change to it shows here.
#   whole_text.sh KORVANE-GEN
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
status=0
for form in xc8 sdcc; do
  diff -u --strip-trailing-cr "$here/everything.$form.c" <("$1" --form "$form" "$here/everything.kvp") || status=1
done
exit $status
