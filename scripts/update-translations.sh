#!/usr/bin/env bash
# Brings app/translations/markedit_zh_TW.ts up to date with the texts of the sources (lupdate):
# new texts come in marked unfinished, texts no longer used go. Translate the unfinished ones
# (with Qt Linguist, or by hand in the file); CTest's translations_are_complete checks both.
set -euo pipefail
cd "$(dirname "$0")/.."
lupdate=${LUPDATE:-/usr/lib/qt6/bin/lupdate}
"$lupdate" -silent -recursive app mark design platform -ts app/translations/markedit_zh_TW.ts \
  -target-language zh_TW -locations none -no-obsolete 2>/dev/null
grep -c 'type="unfinished"' app/translations/markedit_zh_TW.ts | sed 's/^/unfinished: /' || true
