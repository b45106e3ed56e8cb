#!/bin/sh
# A throw-away PostgreSQL cluster for the tests of the address store on a server.
#   pg-test-server.sh start DIR   creates DIR, a cluster in it and starts it on a socket in DIR
#   pg-test-server.sh stop DIR    stops it and removes DIR
# The server listens only on its Unix socket in DIR (no TCP port to collide with other
# builds). Run as root (as CI does), the cluster belongs to the postgres system user,
# since PostgreSQL refuses to run as root.
set -eu
action=$1
dir=$2
port=5432
bindir=${PG_BINDIR:-$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)}

as_owner() {
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u postgres -- "$@"
  else
    "$@"
  fi
}

case $action in
start)
  if [ -z "$bindir" ] || [ ! -x "$bindir/initdb" ]; then
    echo "PostgreSQL fehlt: bitte scripts/setup.sh ausführen (Paket postgresql)." >&2
    exit 1
  fi
  # A cluster left over from an interrupted run goes first.
  if [ -f "$dir/data/postmaster.pid" ]; then
    as_owner "$bindir/pg_ctl" -D "$dir/data" -m immediate stop >/dev/null 2>&1 || true
  fi
  rm -rf "$dir"
  mkdir -p "$dir"
  if [ "$(id -u)" -eq 0 ]; then chown postgres: "$dir"; fi
  chmod 700 "$dir"
  as_owner "$bindir/initdb" -D "$dir/data" -U postgres -A trust -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1 ||
    { cat "$dir/initdb.log" >&2; exit 1; }
  # Root reaches the socket through the folder; the postgres user owns it.
  chmod 711 "$dir"
  as_owner "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
    -o "-k $dir -p $port -c listen_addresses='' -c fsync=off -c synchronous_commit=off -c full_page_writes=off -c max_connections=60" \
    start >/dev/null || { cat "$dir/server.log" >&2; exit 1; }
  echo "PostgreSQL-Testserver läuft: $dir (Port $port)"
  ;;
stop)
  if [ -f "$dir/data/postmaster.pid" ] && [ -n "$bindir" ]; then
    as_owner "$bindir/pg_ctl" -D "$dir/data" -m fast -w -t 60 stop >/dev/null || true
  fi
  rm -rf "$dir"
  ;;
*)
  echo "usage: $0 start|stop DIR" >&2
  exit 2
  ;;
esac
