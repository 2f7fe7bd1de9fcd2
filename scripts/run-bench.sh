#!/usr/bin/env bash
# Builds the benchmarks optimised, without sanitizers, runs them and prints the table of their
# targets. Arguments go to every benchmark program (e.g. --benchmark_filter=FirstTransfer).
# CI builds them but does not run them.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
build=${TARNWICK_BENCH_BUILD:-build/bench}
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DTARNWICK_BUILD_TESTS=OFF -DTARNWICK_BUILD_BENCH=ON
fi
cmake --build "$build"

shopt -s nullglob
results="$build/results"
mkdir -p "$results"
rm -f "$results"/*.json
failed=()
for program in "$build"/bench/bench_*; do
  [ -f "$program" ] && [ -x "$program" ] || continue
  name=$(basename "$program")
  # A program that fails leaves its rows of the table marked as not run; the others still run.
  "$program" --benchmark_out="$results/$name.json" --benchmark_out_format=json "$@" || failed+=("$name")
done

python3 scripts/bench_summary.py "$results"/*.json
if [ ${#failed[@]} -ne 0 ]; then
  echo "Failed: ${failed[*]}" >&2
  exit 1
fi
