#!/usr/bin/env bash
# Builds the benchmarks optimised, without sanitizers, and runs them. CI does not run them.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
build=${TARNWICK_BENCH_BUILD:-build/bench}
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DTARNWICK_BUILD_TESTS=OFF -DTARNWICK_BUILD_BENCH=ON
fi
cmake --build "$build"
for program in "$build"/bench/bench_*; do
  [ -f "$program" ] && [ -x "$program" ] || continue
  "$program" "$@"
done
