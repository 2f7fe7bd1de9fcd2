# Sourced by scripts/run-tests.sh: starts a throwaway MariaDB server on a free loopback port with
# a test database, and exports its connection settings for the ODBC tests
# (TARNWICK_TEST_MARIADB_*). A server that cannot start leaves its tests to skip.
# shellcheck shell=bash

source scripts/servers/lib/common.sh

# Stops the server of the folder: a clean shutdown through its socket, else a signal to the
# process its pid file names; waits until it is gone.
tarnwick_stop_mariadb() {
  local root=$1
  mariadb-admin --no-defaults --socket="$root/server.sock" -u root shutdown > /dev/null 2>&1 && return 0
  local pid
  pid=$(cat "$root/server.pid" 2>/dev/null || true)
  [ -n "$pid" ] || return 0
  kill "$pid" 2>/dev/null || return 0
  local tries=0
  while kill -0 "$pid" 2>/dev/null && [ $tries -lt 100 ]; do
    sleep 0.1
    tries=$((tries + 1))
  done
}

tarnwick_start_mariadb() {
  local server
  server=$(command -v mariadbd || ls /usr/sbin/mariadbd 2>/dev/null || true)
  if [ -z "$server" ] || ! command -v mariadb-install-db > /dev/null; then
    echo "mariadb: not installed; its ODBC tests skip"
    return 0
  fi
  local owner=mysql
  [ "$(id -u)" -eq 0 ] || owner=$(id -un)
  local root
  root="$(cd "$build" && pwd)/servers/mariadb"
  local data="$root/data" socket="$root/server.sock" log="$root/server.log"
  # A server left running by an earlier run is stopped before its folder goes.
  tarnwick_stop_mariadb "$root"
  rm -rf "$root"
  mkdir -p "$data"
  [ "$(id -u)" -eq 0 ] && chown -R "$owner" "$root"
  if ! mariadb-install-db --no-defaults --user="$owner" --datadir="$data" --auth-root-authentication-method=normal \
      --skip-test-db > "$root/install.log" 2>&1; then
    echo "mariadb: mariadb-install-db failed; its ODBC tests skip"
    tail -n 5 "$root/install.log"
    return 0
  fi
  local port
  port=$(tarnwick_free_port)
  tarnwick_as_user "$owner" "$server" --no-defaults --datadir="$data" --socket="$socket" --port="$port" \
    --bind-address=127.0.0.1 --pid-file="$root/server.pid" --log-error="$log" --skip-log-bin \
    --innodb-flush-log-at-trx-commit=0 --innodb-buffer-pool-size=32M --innodb-log-file-size=8M \
    > /dev/null 2>&1 &
  local pid=$!
  on_exit "tarnwick_stop_mariadb '$root'"
  local tries=0
  until mariadb-admin --no-defaults --socket="$socket" -u root ping > /dev/null 2>&1; do
    tries=$((tries + 1))
    if [ $tries -ge 300 ] || ! kill -0 "$pid" 2>/dev/null; then
      echo "mariadb: server did not start; its ODBC tests skip"
      tail -n 5 "$log"
      return 0
    fi
    sleep 0.1
  done
  local password=tarnwick-maria-test
  if ! mariadb --no-defaults --socket="$socket" -u root > "$root/setup.log" 2>&1 <<SQL
CREATE DATABASE tarnwick_test;
CREATE USER 'tarnwick'@'127.0.0.1' IDENTIFIED BY '$password';
CREATE USER 'tarnwick'@'localhost' IDENTIFIED BY '$password';
GRANT ALL ON tarnwick_test.* TO 'tarnwick'@'127.0.0.1';
GRANT ALL ON tarnwick_test.* TO 'tarnwick'@'localhost';
GRANT SELECT ON mysql.proc TO 'tarnwick'@'127.0.0.1';
GRANT SELECT ON mysql.proc TO 'tarnwick'@'localhost';
SQL
  then
    echo "mariadb: the test user could not be made; its ODBC tests skip"
    tail -n 5 "$root/setup.log"
    return 0
  fi
  if ! mariadb --no-defaults --socket="$socket" -u root tarnwick_test < scripts/servers/mariadb.sql \
      >> "$root/setup.log" 2>&1; then
    echo "mariadb: the test database could not be made; its ODBC tests skip"
    tail -n 5 "$root/setup.log"
    return 0
  fi
  export TARNWICK_TEST_MARIADB_HOST=127.0.0.1 TARNWICK_TEST_MARIADB_PORT=$port
  export TARNWICK_TEST_MARIADB_DATABASE=tarnwick_test TARNWICK_TEST_MARIADB_USER=tarnwick
  export TARNWICK_TEST_MARIADB_PASSWORD=$password
  echo "mariadb: running on 127.0.0.1:$port"
}

tarnwick_start_mariadb
