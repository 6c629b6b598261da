#!/usr/bin/env bash
# What a clerk reads when the PostgreSQL server of scripts/pg-scratch.sh cannot serve the marks:
# each check run must fail, say what to do, and never show the password of the alias.
#
#   tests/app/postgresql-failures.sh SERVER_DIR MARKEDIT
set -euo pipefail
server=$1
markedit=$2
work=$(mktemp -d)
port=$(cat "$server/port")
scratch=$(cd "$(dirname "$0")/../../scripts" && pwd)/pg-scratch.sh
sql() { "$scratch" sql "$server" "$1"; }
trap 'sql "alter table if exists dbo.md_away rename to md" >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
mkdir -p "$work/windows" "$work/data"
printf '[tavrix]\ndatapath=%s\n' "$work/data" >"$work/windows/win.ini"

# expect NAME ALIAS_TEXT ADVICE: a check run with that alias section fails with the advice.
expect() {
  printf '%s' "$2" >"$work/windows/dbalias.ini"
  if QT_QPA_PLATFORM=offscreen WINDIR="$work/windows" XDG_DATA_HOME="$work/xdg" \
       "$markedit" --quit-when-shown C001 M01 2>"$work/stderr"; then
    echo "$1: the check run did not fail" >&2
    exit 1
  fi
  grep -q "$3" "$work/stderr" || { echo "$1: no advice \"$3\" in:" >&2; cat "$work/stderr" >&2; exit 1; }
  if grep -q "Secret-Word" "$work/stderr"; then echo "$1: the password shows" >&2; exit 1; fi
  echo "$1: says \"$3\""
}

# The server's own alias files with another port and user, and the password a wrong one
# throughout (the user markedit's is "markedit").
alias_with() {  # alias_with PORT USER
  sed "s/^Port=.*/Port=$1/; s/^User=.*/User=$2/; s/^Password=.*/Password=Secret-Word/" "$server/dbalias.ini"
}
odbc_with() {  # odbc_with PORT USER: the same through unixODBC, credentials in the connection string
  sed "s/PORT=[^;]*/PORT=$1/; s/UID=[^;]*/UID=$2/; s/PWD=[^;]*/PWD=Secret-Word/" "$server/odbc.ini"
}

expect "unknown user" "$(alias_with "$port" nobody)" "資料庫拒絕登入"
expect "unknown user through ODBC" "$(odbc_with "$port" nobody)" "資料庫拒絕登入"
expect "wrong password" "$(alias_with "$port" markedit)" "資料庫拒絕登入"
expect "wrong password through ODBC" "$(odbc_with "$port" markedit)" "資料庫拒絕登入"
# Port 1: nothing listens there.
expect "server down" "$(alias_with 1 markedit)" "無法連上資料庫"
expect "server down through ODBC" "$(odbc_with 1 markedit)" "無法連上資料庫"
sql "alter table dbo.md rename to md_away"
expect "md missing" "$(sed 's/^Password=.*/Password=markedit/' "$server/dbalias.ini")" "資料庫中缺少資料表 md"
expect "md missing through ODBC" "$(sed 's/PWD=[^;]*/PWD=markedit/' "$server/odbc.ini")" "資料庫中缺少資料表 md"
sql "alter table dbo.md_away rename to md"
