#!/usr/bin/env bash
# The command line's output, as a clerk or a script uses it: a side mark holding a label
# "C/NO. {n} OF {N}", a data text linked to 產品編號 and an ellipse is stored (with mark_clerk, through
# the mark store), then written for the demo shipment EX2401001 of customer C001 (3 rows) as a PDF,
# read back with poppler-utils, and as SVG stencils; bad requests end with a message, a non-zero
# status and no file. With no display at all.
#
#   tests/app/export-check.sh MARKEDIT STREAMCONV MARK_CLERK [SERVER_DIR ALIAS_FILE]
#
# Without a server the program's own demo database is used; with one, the alias file of the
# throw-away PostgreSQL server (dbalias.ini: Qt's driver, odbc.ini: through ODBC).
set -euo pipefail
markedit=$1
streamconv=$2
clerk=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/windows" "$work/data" "$work/out"
export WINDIR="$work/windows" XDG_DATA_HOME="$work/data"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
fail() { echo "FAIL: $*"; exit 1; }
run() { "$markedit" "$@" 2>"$work/err" && return 0; status=$?; return $status; }

# The first run makes the profile and its demo database; there is no stored mark yet.
if run --export "$work/out/none.pdf" C001 M01; then fail "exported a mark that is not stored"; fi
grep -q "No main mark is stored for customer C001, mark M01" "$work/err" || fail "$(cat "$work/err")"
[ ! -e "$work/out/none.pdf" ] || fail "a file was left for a mark that is not stored"
if [ $# -ge 5 ]; then cp "$4/$5" "$work/windows/dbalias.ini"; fi

# The mark (the same design on both sides): three component blocks and the end marker.
# A text element: NAME CLASS TOP CAPTION [FIELD].
text() {
  printf "object %s: %s\n  Left = 20\n  Top = %s\n  Width = 220\n  Height = 24\n" "$1" "$2" "$3"
  [ "$2" = TLabel ] && printf "  AutoSize = False\n"
  printf "  Caption = '%s'\n" "$4"
  [ -n "${5:-}" ] && printf "  DataField = '%s'\n" "$5"
  # Every element drawn in the editor names the editor's design menu.
  printf "  Font.Height = -20\n  Font.Name = '新細明體'\n  ParentFont = False\n  PopupMenu = pop\n  Transparent = True\nend\n"
}
text Label1 TLabel 20 'C/NO. {n} OF {N}' >"$work/a.txt"
text DBText1 TDBText 60 '產品編號' '產品編號' >"$work/b.txt"
cat >"$work/c.txt" <<'EOF'
object tshape21: tshape2
  Left = 260
  Top = 40
  Width = 120
  Height = 120
  AutoSize = False
  Transparent = True
  kind = eclipse
  pencolor = clBlack
  penwidth = 3
end
EOF
: >"$work/design.bin"
for part in a b c; do
  "$streamconv" to-binary "$work/$part.txt" "$work/$part.bin"
  cat "$work/$part.bin" >>"$work/design.bin"
done
printf '\0' >>"$work/design.bin"
for side in 0 1; do
  echo | "$clerk" C001 M01 $side "$work/design.bin" | grep -q saved || fail "the mark was not stored"
done

# Qt's own notices stay out of the one line a failure prints.
[ "$(wc -l <"$work/err")" = 1 ] || fail "more than one line: $(cat "$work/err")"

# A PDF of the side mark for the shipment: a page per row, 200 x 124.5 mm, searchable text.
run --export "$work/out/side.pdf" --side side --bill EX2401001 C001 M01 || fail "$(cat "$work/err")"
info=$(pdfinfo "$work/out/side.pdf")
grep -q "^Pages: *3$" <<<"$info" || fail "pages: $info"
# 200 x 124.5 mm is 566.9 x 352.9 points; the writer rounds to whole points.
grep -Eq "^Page size: *(566\.9[0-9]*|567) x (352\.9[0-9]*|353) pts" <<<"$info" || fail "size: $info"
page2=$(pdftotext -f 2 -l 2 "$work/out/side.pdf" -)
grep -q "C/NO. 2 OF 3" <<<"$page2" || fail "page 2 reads: $page2"
# Rows in the order PACKING單號, then 產品編號: LP-200, TB-100, TB-120.
grep -q "TB-100" <<<"$page2" || fail "page 2 reads: $page2"
grep -q "LP-200" <<<"$(pdftotext -f 1 -l 1 "$work/out/side.pdf" -)" || fail "page 1 has not the first row"
# Two packing lots whose products sort the other way: the lot decides (TB-120, then LP-200).
run --export "$work/out/lots.pdf" --side side --bill EX2401006 C001 M01 || fail "$(cat "$work/err")"
grep -q "TB-120" <<<"$(pdftotext -f 1 -l 1 "$work/out/lots.pdf" -)" || fail "page 1 is not the first lot's"
grep -q "LP-200" <<<"$(pdftotext -f 2 -l 2 "$work/out/lots.pdf" -)" || fail "page 2 is not the second lot's"
pdffonts "$work/out/side.pdf" | awk 'NR > 2 && $(NF-4) != "yes" { bad = 1 } END { exit bad }' || fail "a font is not embedded"

# SVG stencils of both sides: one file per page, main then side for each row, no text elements.
run --export "$work/out/both.svg" --side both --bill EX2401001 --width-mm 100 C001 M01 ||
  fail "$(cat "$work/err")"
[ "$(ls "$work/out" | grep -c '^both-00[1-6]\.svg$')" = 6 ] || fail "svg files: $(ls "$work/out")"
grep -q 'width="100mm" height="62.25mm"' "$work/out/both-002.svg" || fail "svg size"
if grep -q "<text" "$work/out"/both-*.svg; then fail "an svg holds text elements"; fi

# Bad requests: a message, a non-zero status, and nothing written.
before=$(ls "$work/out")
if run --export "$work/out/x.pdf" --bill NOPE C001 M01; then fail "an unknown bill was exported"; fi
grep -q "Shipment NOPE of customer C001 has no rows" "$work/err" || fail "$(cat "$work/err")"
if run --export "$work/out/x.pdf" C001 NOMARK; then fail "a mark that is not stored was exported"; fi
if run --export /proc/markedit-export.pdf C001 M01; then fail "wrote into /proc"; fi
grep -q "Cannot write /proc/markedit-export.pdf" "$work/err" || fail "$(cat "$work/err")"
if run --export "$work/no/such/folder/x.pdf" C001 M01; then fail "wrote into a missing folder"; fi
if run --export "$work/out/x.pdf" --width-mm 0 C001 M01; then fail "a mark 0 mm wide"; fi
[ "$status" = 2 ] || fail "a bad width ends with status $status"
# The kind of file is the first thing said wrong, before the mark is looked for.
if run --export "$work/out/x.docx" C001 NOMARK; then fail "a .docx was exported"; fi
[ "$status" = 2 ] || fail "an unknown kind ends with status $status"
grep -q "Cannot tell what to write from the name" "$work/err" || fail "$(cat "$work/err")"
if run --bill EX2401001 C001 M01; then fail "--bill without --export was taken"; fi
[ "$status" = 2 ] || fail "--bill without --export ends with status $status"
[ "$before" = "$(ls "$work/out")" ] || fail "a failed export left files: $(ls "$work/out")"
echo "export checks passed"
