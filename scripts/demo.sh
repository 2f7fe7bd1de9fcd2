#!/usr/bin/env bash
# Sets the system up on its embedded defaults and runs it: a machine root with an installed
# desktop (the shipped databases with the sample profiles and form, the registry the installer
# leaves), the web-service double as the hosted service on a free loopback port, and the sync
# program. It shows what the device holds as it changes; Ctrl-C stops the sync program and the
# double. Run again on the same root, it goes on where it stopped.
#
#   bash scripts/demo.sh [--root DIR] [--web-service URL] [--build DIR] [--e2e]
#
#   --root DIR          the machine root (default: build/demo/root)
#   --web-service URL   use this hosted service instead of the double (no device view then)
#   --build DIR         use the programs already built in DIR (no install, no build)
#   --e2e               no terminal needed: ends with 0 once the samples are in step and a row
#                       inserted into SampleDB.mdb has reached the device, 1 after five minutes
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir=$PWD

root=build/demo/root
web_service=
build=
e2e=0
while [ $# -gt 0 ]; do
  case $1 in
    --root) root=$2; shift 2 ;;
    --web-service) web_service=$2; shift 2 ;;
    --build) build=$2; shift 2 ;;
    --e2e) e2e=1; shift ;;
    *) echo "unknown option $1" >&2; exit 2 ;;
  esac
done

if [ -z "$build" ]; then
  bash scripts/install-deps.sh
  build=build/demo/build
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARNWICK_BUILD_TESTS=OFF > /dev/null
  cmake --build "$build" --target TarnwickPlusSyncServiceLite TarnwickDemoSetup tarnwick_db
fi
build=$(cd "$build" && pwd)
mkdir -p "$root"
root=$(cd "$root" && pwd)
export TARNWICK_MACHINE_ROOT=$root

installation="$root/Tarnwick Plus/"
db_folder="${installation}Desktop Files/DB/"
settings_db="${db_folder}UserProfileDB.mdb"
sample_db="${db_folder}SampleDB.mdb"
device_user=demo-user

# The installation, once: the shipped databases, the sample profiles and form, and a status row
# "A" for each of them, so that they travel to the device user while the demo runs.
if [ ! -e "$settings_db" ]; then
  mkdir -p "${installation}Desktop Files/Logs" "${db_folder}CDB Files"
  for database in UserProfileDB ChangeDetDB SampleDB; do
    cp "$build/db/$database.mdb" "$db_folder"
  done
  sed "s#@DB_FOLDER@#${db_folder//\'/\'\'}#g" db/SampleProfiles.sql | sqlite3 -bail "$settings_db"
  sqlite3 -bail "$settings_db" <<SQL
UPDATE ProfileInfo SET UserList = '$device_user';
INSERT INTO UserInfo VALUES ('$device_user', 'Demo User', '', '', '', 0, 1, 2);
INSERT INTO UserProfileStatus VALUES ('$device_user', 1, 'A'), ('$device_user', 2, 'A');
INSERT INTO UserFormStatus VALUES (1, '$device_user', 'A');
SQL
fi

double_pid=
sync_pid=
stop() {
  trap - INT TERM EXIT
  if [ -n "$sync_pid" ]; then
    "$build/bin/TarnwickDemoSetup" switch 0
    wait "$sync_pid" || true
  fi
  if [ -n "$double_pid" ]; then
    kill "$double_pid" 2>/dev/null || true
    wait "$double_pid" 2>/dev/null || true
  fi
}
trap 'stop; exit 130' INT TERM
trap stop EXIT

ask_double() {
  echo "$1" >&"$double_in"
  local answer
  IFS= read -r answer <&"$double_out"
  printf '%s\n' "$answer"
}

if [ -z "$web_service" ]; then
  coproc DOUBLE { exec python3 -u tests/support/webservice_double.py --device-file "$root/device.pickle"; }
  double_pid=$DOUBLE_PID
  double_out=${DOUBLE[0]}
  exec {double_in}>&"${DOUBLE[1]}"
  IFS= read -r hello <&"$double_out"
  port=$(printf '%s\n' "$hello" | python3 scripts/demo_view.py port)
  web_service="http://127.0.0.1:$port/svc/"
  echo "The web-service double serves on $web_service"
fi

# Turns follow each other without a pause in the test; a person watches one a minute.
minutes=1
[ "$e2e" = 1 ] && minutes=0
"$build/bin/TarnwickDemoSetup" install "$installation" "$web_service" demo-desktop "$device_user" "$minutes"
"$build/bin/TarnwickPlusSyncServiceLite" > "$root/sync-program.out" 2>&1 &
sync_pid=$!
echo "The sync program runs (machine root $root; logs in ${installation}Desktop Files/Logs)."
echo "It looks for changes every $minutes minute(s); Ctrl-C stops it."

if [ -z "$double_pid" ]; then
  wait "$sync_pid"
  exit 0
fi

shown=
inserted=0
deadline=$((SECONDS + 300))
while kill -0 "$sync_pid" 2>/dev/null; do
  answer=$(ask_double '{"cmd": "device"}')
  view=$(printf '%s\n' "$answer" | python3 scripts/demo_view.py view)
  if [ "$view" != "$shown" ] && [ "$e2e" = 0 ]; then
    printf '\n%s\n' "$view"
    shown=$view
  fi
  if [ "$e2e" = 1 ]; then
    if [ "$inserted" = 0 ] && printf '%s\n' "$answer" | python3 scripts/demo_view.py check 24; then
      sqlite3 -bail -cmd ".timeout 30000" "$sample_db" "INSERT INTO Artist VALUES (25, 'Zoe Park', 'Korea', 1990);"
      inserted=1
    elif [ "$inserted" = 1 ] && printf '%s\n' "$answer" | python3 scripts/demo_view.py check 25; then
      echo "The samples and the inserted row reached the device."
      exit 0
    fi
    if [ "$SECONDS" -ge "$deadline" ]; then
      printf '%s\n' "$view" >&2
      echo "The device did not get the samples and the inserted row within five minutes." >&2
      exit 1
    fi
  fi
  sleep 1
done
echo "The sync program ended; its output is in $root/sync-program.out." >&2
exit 1
