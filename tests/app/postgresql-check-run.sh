#!/usr/bin/env bash
# The real program against the throw-away PostgreSQL server of scripts/pg-scratch.sh: a mark
# stored in dbo.md (a design stream of one label, made with streamconv) is read when the editors
# open, with an alias file the script wrote (dbalias.ini: Qt's PostgreSQL driver; odbc.ini: the
# same database through unixODBC and Debian's PostgreSQL ODBC driver) and no change to the program.
#
#   tests/app/postgresql-check-run.sh SERVER_DIR MARKEDIT STREAMCONV [ALIAS_FILE]
set -euo pipefail
server=$1
markedit=$2
streamconv=$3
alias=${4:-dbalias.ini}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/windows" "$work/data"
cp "$server/$alias" "$work/windows/dbalias.ini"
printf '[tavrix]\ndatapath=%s\n' "$work/data" >"$work/windows/win.ini"

# A design stream: one component block and the end marker.
printf "object Label3: TLabel\n  Left = 16\n  Top = 16\n  Width = 80\n  Height = 24\n  Caption = 'C/NO.'\nend\n" \
  >"$work/label.txt"
"$streamconv" to-binary "$work/label.txt" "$work/design.bin"
printf '\0' >>"$work/design.bin"
hex=$(od -An -tx1 -v "$work/design.bin" | tr -d ' \n')
scratch=$(cd "$(dirname "$0")/../../scripts" && pwd)/pg-scratch.sh
sql() { "$scratch" sql "$server" "$1"; }

# A check run says what it could not read and then fails; its picture shows what a user would see.
run() {
  QT_QPA_PLATFORM=offscreen WINDIR="$work/windows" XDG_DATA_HOME="$work/xdg" \
    "$markedit" --quit-when-shown --screenshot "$1" C001 M01 2>"$work/stderr" || { cat "$work/stderr" >&2; exit 1; }
  if grep -q "無法" "$work/stderr"; then cat "$work/stderr" >&2; exit 1; fi
}

sql "delete from dbo.md where customerid = 'C001' and mdid = 'M01'"
run "$work/empty.png"
sql "insert into dbo.md (customerid, mdid, flag, data) values ('C001', 'M01', '1', decode('$hex', 'hex'))"
run "$work/mark.png"
if cmp -s "$work/empty.png" "$work/mark.png"; then
  echo "the stored mark did not show" >&2
  exit 1
fi
echo "read the stored mark from PostgreSQL through $alias"
