# Sourced by scripts/run-tests.sh: starts a throwaway PostgreSQL server on a free loopback port
# with a test database, and exports its connection settings for the ODBC tests
# (TARNWICK_TEST_PG_*). A server that cannot start leaves its tests to skip.
# shellcheck shell=bash

source scripts/servers/lib/common.sh

tarnwick_start_postgresql() {
  local bin
  bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1 || true)
  if [ -z "$bin" ] || [ ! -x "$bin/initdb" ]; then
    echo "postgresql: not installed; its ODBC tests skip"
    return 0
  fi
  local owner=postgres
  [ "$(id -u)" -eq 0 ] || owner=$(id -un)
  local root
  root="$(cd "$build" && pwd)/servers/postgresql"
  local data="$root/data" socket="$root/socket" log="$root/server.log"
  # A server left running by an earlier run is stopped before its folder goes.
  if [ -f "$data/postmaster.pid" ]; then
    tarnwick_as_user "$owner" "$bin/pg_ctl" -D "$data" -m immediate stop > /dev/null 2>&1 || true
  fi
  rm -rf "$root"
  mkdir -p "$data" "$socket"
  [ "$(id -u)" -eq 0 ] && chown -R "$owner" "$root"
  local password=tarnwick-pg-test
  local pwfile="$root/pwfile"
  echo "$password" > "$pwfile"
  [ "$(id -u)" -eq 0 ] && chown "$owner" "$pwfile"
  if ! tarnwick_as_user "$owner" "$bin/initdb" -D "$data" -U tarnwick --pwfile="$pwfile" -A scram-sha-256 \
      -E UTF8 --locale=C.UTF-8 > "$root/initdb.log" 2>&1; then
    echo "postgresql: initdb failed; its ODBC tests skip"
    tail -n 5 "$root/initdb.log"
    return 0
  fi
  local port
  port=$(tarnwick_free_port)
  if ! tarnwick_as_user "$owner" "$bin/pg_ctl" -D "$data" -l "$log" -w -t 30 \
      -o "-p $port -k $socket -c listen_addresses=127.0.0.1 -c fsync=off -c synchronous_commit=off -c full_page_writes=off" \
      start > /dev/null; then
    echo "postgresql: server did not start; its ODBC tests skip"
    tail -n 5 "$log"
    return 0
  fi
  on_exit "tarnwick_as_user $owner '$bin/pg_ctl' -D '$data' -m immediate stop > /dev/null 2>&1"
  export PGPASSWORD=$password
  if ! "$bin/psql" -h 127.0.0.1 -p "$port" -U tarnwick -d postgres -v ON_ERROR_STOP=1 -q \
      -c "CREATE DATABASE tarnwick_test" > "$root/setup.log" 2>&1 ||
     ! "$bin/psql" -h 127.0.0.1 -p "$port" -U tarnwick -d tarnwick_test -v ON_ERROR_STOP=1 -q \
      -f scripts/servers/postgresql.sql >> "$root/setup.log" 2>&1; then
    echo "postgresql: the test database could not be made; its ODBC tests skip"
    tail -n 5 "$root/setup.log"
    unset PGPASSWORD
    return 0
  fi
  unset PGPASSWORD
  export TARNWICK_TEST_PG_HOST=127.0.0.1 TARNWICK_TEST_PG_PORT=$port TARNWICK_TEST_PG_DATABASE=tarnwick_test
  export TARNWICK_TEST_PG_USER=tarnwick TARNWICK_TEST_PG_PASSWORD=$password
  echo "postgresql: running on 127.0.0.1:$port"
}

tarnwick_start_postgresql
