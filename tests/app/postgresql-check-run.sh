#!/usr/bin/env bash
# The real program against the throw-away PostgreSQL server of scripts/pg-scratch.sh: a mark
# stored in dbo.md (a design stream of one label, made with streamconv) is read when the editors
# open, with the alias the script wrote and no change to the program.
#
#   tests/app/postgresql-check-run.sh SERVER_DIR MARKEDIT STREAMCONV
set -euo pipefail
server=$1
markedit=$2
streamconv=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/windows" "$work/data"
cp "$server/dbalias.ini" "$work/windows/dbalias.ini"
printf '[tavrix]\ndatapath=%s\n' "$work/data" >"$work/windows/win.ini"

# A design stream: one component block and the end marker.
printf "object Label3: TLabel\n  Left = 16\n  Top = 16\n  Width = 80\n  Height = 24\n  Caption = 'C/NO.'\nend\n" \
  >"$work/label.txt"
"$streamconv" to-binary "$work/label.txt" "$work/design.bin"
printf '\0' >>"$work/design.bin"
hex=$(od -An -tx1 -v "$work/design.bin" | tr -d ' \n')
psql -X -q -v ON_ERROR_STOP=1 -h 127.0.0.1 -p "$(cat "$server/port")" -U markedit -d marks \
  -c "delete from dbo.md where customerid = 'C001' and mdid = 'M01'" \
  -c "insert into dbo.md (customerid, mdid, flag, data) values ('C001', 'M01', '1', decode('$hex', 'hex'))"

# A check run says what it could not read and then fails.
QT_QPA_PLATFORM=offscreen WINDIR="$work/windows" XDG_DATA_HOME="$work/xdg" \
  "$markedit" --quit-when-shown C001 M01 2>"$work/stderr" || { cat "$work/stderr" >&2; exit 1; }
if grep -q "無法" "$work/stderr"; then cat "$work/stderr" >&2; exit 1; fi
echo "read the stored mark from PostgreSQL"
