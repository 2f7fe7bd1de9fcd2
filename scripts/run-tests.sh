#!/usr/bin/env bash
# Installs what is missing, builds the test tree (AddressSanitizer and UndefinedBehaviorSanitizer
# on), starts the test servers, runs every test, then runs each fuzz target for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

build=${TARNWICK_TEST_BUILD:-build/test}
mkdir -p "$build"
# Configuring again each time is quick and picks up folders that have joined the tree.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DTARNWICK_SANITIZE=ON -DTARNWICK_WERROR=ON > "$build.configure.log" \
  || { cat "$build.configure.log"; exit 1; }
cmake --build "$build"

# Servers for the ODBC tests. Each script starts its server and registers how to stop it with
# on_exit; a server that cannot start leaves its tests to skip with a message.
exit_actions=()
on_exit() { exit_actions+=("$1"); }
run_exit_actions() { for action in "${exit_actions[@]}"; do eval "$action" || true; done; }
trap run_exit_actions EXIT
for server in scripts/servers/*.sh; do
  [ -e "$server" ] || continue
  # shellcheck source=/dev/null
  source "$server"
done

ctest --test-dir "$build" --output-on-failure --no-tests=error -j "$(nproc)"

bash scripts/run-fuzz.sh
