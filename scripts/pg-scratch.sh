#!/usr/bin/env bash
# A throw-away PostgreSQL server with the mark database, for trying markedit on a real database
# server and for the tests that do. No system service is used and nothing is left behind: the
# server's files, socket and log live in a temporary folder of their own.
#
#   scripts/pg-scratch.sh start DIR   starts a server on a free local port, creates the database
#                                     "marks" (scripts/postgresql/marks-schema.sql), and writes
#                                     the alias dbmd that reaches it: DIR/dbalias.ini through
#                                     Qt's PostgreSQL driver, DIR/odbc.ini through unixODBC and
#                                     the PostgreSQL ODBC driver (Debian's odbc-postgresql)
#   scripts/pg-scratch.sh stop DIR    stops that server and removes its files and DIR
#   scripts/pg-scratch.sh kill DIR    stops it at once, as a crash would, keeping its files
#   scripts/pg-scratch.sh revive DIR  starts it again on its port after kill
#   scripts/pg-scratch.sh sql DIR SQL [DATABASE]
#                                     runs SQL on the database "marks" (or DATABASE) as its owner
#
# Run as root, the server runs as Debian's "postgres" user (PostgreSQL refuses root), in a folder
# under /tmp that this user can reach wherever DIR lies. Connections are accepted from 127.0.0.1
# only, for the user markedit with the password markedit (written into the alias files, so that a
# wrong one can be tried as well).
set -euo pipefail
[ $# -eq 2 ] || { [ $# -ge 3 ] && [ $# -le 4 ] && [ "$1" = sql ]; } || { sed -n '2,19p' "$0" | sed 's/^# \{0,1\}//'; exit 2; }
action=$1
dir=$2
here=$(cd "$(dirname "$0")" && pwd)
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1)
[ -n "$bin" ] || { echo "PostgreSQL is not installed (Debian package postgresql)" >&2; exit 1; }

as_server() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

# psql as the owner, on the server's port: psql_on PORT DATABASE ARGS...
psql_on() {
  local port=$1 database=$2
  shift 2
  PGPASSWORD=markedit psql -X -q -v ON_ERROR_STOP=1 -h 127.0.0.1 -p "$port" -U markedit -d "$database" "$@"
}

case "$action" in
  start)
    "$0" stop "$dir" 2>/dev/null || true
    mkdir -p "$dir"
    home=$(mktemp -d /tmp/markedit-pg.XXXXXX)
    echo "$home" >"$dir/server"
    [ "$(id -u)" -eq 0 ] && chown postgres "$home"
    echo markedit >"$home/password"
    [ "$(id -u)" -eq 0 ] && chown postgres "$home/password"
    as_server "$bin/initdb" -D "$home/data" --auth-local=trust --auth-host=scram-sha-256 -U markedit \
      --pwfile="$home/password" -E UTF8 --locale=C.UTF-8 >/dev/null
    started=""
    for _ in $(seq 1 20); do
      port=$((20000 + RANDOM % 40000))
      if as_server "$bin/pg_ctl" -D "$home/data" -l "$home/server.log" -w -t 30 \
           -o "-p $port -k $home -c listen_addresses=127.0.0.1" start >/dev/null; then
        started=$port
        break
      fi
    done
    [ -n "$started" ] || { echo "no free port for PostgreSQL; see $home/server.log" >&2; exit 1; }
    psql_on "$started" postgres -c "create database marks encoding 'UTF8' template template0"
    psql_on "$started" marks -f "$here/postgresql/marks-schema.sql"
    # The mark table and the view are found without the schema in their names.
    printf '[dbmd]\nDriver=QPSQL\nDatabase=marks\nHost=127.0.0.1\nPort=%s\nUser=markedit\nPassword=markedit\nOptions=options=-csearch_path=dbo\n' \
      "$started" >"$dir/dbalias.ini"
    # Through ODBC the driver's connection string sets the search path.
    printf '[dbmd]\nDriver=QODBC\nDatabase=DRIVER={PostgreSQL Unicode};SERVER=127.0.0.1;PORT=%s;DATABASE=marks;UID=markedit;PWD=markedit;ConnSettings=set search_path to dbo\n' \
      "$started" >"$dir/odbc.ini"
    echo "$started" >"$dir/port"
    ;;
  kill)
    as_server "$bin/pg_ctl" -D "$(cat "$dir/server")/data" -m immediate -w stop >/dev/null
    ;;
  revive)
    home=$(cat "$dir/server")
    as_server "$bin/pg_ctl" -D "$home/data" -l "$home/server.log" -w -t 30 \
      -o "-p $(cat "$dir/port") -k $home -c listen_addresses=127.0.0.1" start >/dev/null
    ;;
  sql)
    psql_on "$(cat "$dir/port")" "${4:-marks}" -c "$3"
    ;;
  stop)
    if [ -f "$dir/server" ]; then
      home=$(cat "$dir/server")
      if [ -d "$home/data" ]; then as_server "$bin/pg_ctl" -D "$home/data" -m immediate -w stop >/dev/null || true; fi
      case "$home" in /tmp/markedit-pg.*) rm -rf "$home" ;; esac
    fi
    rm -rf "$dir"
    ;;
  *)
    echo "unknown action $action (start, stop, kill, revive or sql)" >&2
    exit 2
    ;;
esac
