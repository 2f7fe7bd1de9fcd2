#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in a tree of their own and runs each for a bounded time
# (FUZZ_SECONDS, default 10).
set -euo pipefail
cd "$(dirname "$0")/.."

build=${TARNWICK_FUZZ_BUILD:-build/fuzz}
seconds=${FUZZ_SECONDS:-10}
mkdir -p "$build"
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DTARNWICK_FUZZ=ON -DTARNWICK_BUILD_TESTS=OFF > "$build.configure.log" \
  || { cat "$build.configure.log"; exit 1; }
mapfile -t targets < <(grep -v '^$' "$build/fuzz-targets.txt" 2>/dev/null || true)
if [ ${#targets[@]} -eq 0 ]; then
  echo "fuzz: no targets"
  exit 0
fi
cmake --build "$build" --target "${targets[@]}"
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  echo "fuzz: $target for ${seconds}s"
  "$build/tests/fuzz/$target" -max_total_time="$seconds" -print_final_stats=0 "$corpus" \
    > "$build/$target.log" 2>&1 || { tail -n 60 "$build/$target.log"; exit 1; }
done
echo "fuzz: ${#targets[@]} passed, 0 failed"
