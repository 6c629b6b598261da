#!/usr/bin/env bash
# Every text the program adds through tr() has its Chinese translation: lupdate, run over the
# sources into a copy of the .ts file, finds no new text and none unfinished.
#
#   tests/app/translations-check.sh LUPDATE SOURCE_ROOT TS_FILE
set -euo pipefail
lupdate=$1
root=$2
ts=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$ts" "$work/check.ts"
(cd "$root" && "$lupdate" -silent -recursive app mark design platform -ts "$work/check.ts" -target-language zh_TW \
  -locations none -no-obsolete 2>"$work/lupdate.log")
if ! cmp -s "$ts" "$work/check.ts"; then
  echo "FAIL: the sources' texts differ from $ts (run lupdate as above and translate):"
  diff "$ts" "$work/check.ts" | head -40
  exit 1
fi
if grep -q 'type="unfinished"' "$ts"; then
  echo "FAIL: texts without a translation:"
  grep -B2 'type="unfinished"' "$ts" | grep '<source>'
  exit 1
fi
echo "translations complete: $(grep -c '<source>' "$ts") texts"
