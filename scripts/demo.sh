#!/usr/bin/env bash
# Sets the system up on its embedded defaults and runs it: a machine root with an installed
# desktop (the programs in "Desktop Files", the shipped databases with the sample profiles and
# form, the registry the installer leaves), the web-service double as the hosted service on a free
# loopback port, and the sync program. It shows what the device holds as it changes, and says when
# the sync program ends or runs again (Preferences' Stop and Start Synchronization in the
# administration program); Ctrl-C stops the sync program and the double. Run again on the same
# root, it goes on where it stopped.
#
#   bash scripts/demo.sh [--root DIR] [--web-service URL] [--build DIR] [--e2e]
#
#   --root DIR          the machine root (default: build/demo/root)
#   --web-service URL   use this hosted service instead of the double (no device view then)
#   --build DIR         use the programs already built in DIR (no install, no build)
#   --e2e               no terminal needed: once the samples are in step, stops and starts
#                       synchronisation through the Preferences module's button, inserts a row
#                       into SampleDB.mdb and ends with 0 when it has reached the device; 1 when a
#                       step fails or after five minutes
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
if [ "$e2e" = 1 ] && [ -n "$web_service" ]; then
  echo "--e2e watches the device through the double: it cannot go with --web-service" >&2
  exit 2
fi

if [ -z "$build" ]; then
  bash scripts/install-deps.sh
  build=build/demo/build
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARNWICK_BUILD_TESTS=OFF > /dev/null
  cmake --build "$build" --target TarnwickPlusLite TarnwickPlusLiteUnInstaller TarnwickPWinServiceLite \
    TarnwickPlusSyncServiceLite TarnwickPStartSyncServiceLite TarnwickDemoSetup TarnwickDemoPreferences tarnwick_db
fi
build=$(cd "$build" && pwd)
mkdir -p "$root"
root=$(cd "$root" && pwd)
export TARNWICK_MACHINE_ROOT=$root

installation="$root/Tarnwick Plus/"
desktop_files="${installation}Desktop Files/"
db_folder="${desktop_files}DB/"
settings_db="${db_folder}UserProfileDB.mdb"
sample_db="${db_folder}SampleDB.mdb"
device_user=demo-user

# The installation, once: the shipped databases, the sample profiles and form, and a status row
# "A" for each of them, so that they travel to the device user while the demo runs.
if [ ! -e "$settings_db" ]; then
  mkdir -p "${desktop_files}Logs" "${db_folder}CDB Files"
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
  "$build/bin/TarnwickDemoSetup" stop || true
  if [ -n "$sync_pid" ]; then
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
# A sync program left running on this root (started from Preferences after the last demo ended)
# would keep the single instance from the one started here.
"$build/bin/TarnwickDemoSetup" stop
"$build/bin/TarnwickDemoSetup" install "$installation" "$web_service" demo-desktop "$device_user" "$minutes"
"${desktop_files}TarnwickPlusSyncServiceLite" > "$root/sync-program.out" 2>&1 &
sync_pid=$!
echo "The sync program runs (machine root $root; logs in ${desktop_files}Logs)."
echo "It looks for changes every $minutes minute(s); Ctrl-C stops it."

sync_runs() { "$build/bin/TarnwickDemoSetup" running; }

# Says when the sync program has ended or runs again, as Preferences stops and starts it.
sync_shown=1
show_sync_state() {
  local runs=0
  sync_runs && runs=1
  [ "$runs" = "$sync_shown" ] && return
  sync_shown=$runs
  if [ "$runs" = 1 ]; then
    echo "The sync program runs again."
  else
    echo "The sync program has ended (its console output of the first run is in $root/sync-program.out)."
  fi
}

# Presses Preferences' Start/Stop Synchronization button; true when its last box says `success`.
press_sync_button() {
  local caption=$1 success=$2 boxes
  boxes=$(QT_QPA_PLATFORM=offscreen "$build/bin/TarnwickDemoPreferences" "$caption") || return 1
  printf '%s\n' "$boxes"
  [ "$(printf '%s\n' "$boxes" | tail -n 1)" = "$success" ]
}

fail() {
  echo "$1" >&2
  exit 1
}

# The unattended run, one step a second: the samples reach the device; Preferences stops the sync
# program and starts it again through the starter; a row inserted then reaches the device too.
step=samples
e2e_step() {
  local answer=$1
  case $step in
    samples)
      printf '%s\n' "$answer" | python3 scripts/demo_view.py check 24 || return 0
      press_sync_button "Stop Synchronization" "Synchronization stopped successfully." ||
        fail "Preferences could not stop synchronisation."
      sync_runs && fail "The sync program still runs after the stop."
      wait "$sync_pid" || true
      sync_pid=
      press_sync_button "Start Synchronization" "Synchronization Started Successfully." ||
        fail "Preferences could not start synchronisation."
      step=started ;;
    started)
      sync_runs || return 0
      echo "The sync program runs again."
      sqlite3 -bail -cmd ".timeout 30000" "$sample_db" "INSERT INTO Artist VALUES (25, 'Zoe Park', 'Korea', 1990);"
      step=inserted ;;
    inserted)
      printf '%s\n' "$answer" | python3 scripts/demo_view.py check 25 || return 0
      echo "The samples and the row inserted after the restart reached the device."
      exit 0 ;;
  esac
}

shown=
deadline=$((SECONDS + 300))
while :; do
  if [ -n "$double_pid" ]; then
    answer=$(ask_double '{"cmd": "device"}')
    view=$(printf '%s\n' "$answer" | python3 scripts/demo_view.py view)
  fi
  if [ "$e2e" = 1 ]; then
    e2e_step "$answer"
    if [ "$SECONDS" -ge "$deadline" ]; then
      printf '%s\n' "$view" >&2
      fail "The device did not get the samples and the inserted row within five minutes (step $step)."
    fi
  else
    if [ -n "$double_pid" ] && [ "$view" != "$shown" ]; then
      printf '\n%s\n' "$view"
      shown=$view
    fi
    show_sync_state
  fi
  sleep 1
done
