#!/usr/bin/env bash
# Builds the fuzz targets with clang into build-fuzz/ (or $BUILD_DIR) and runs
# each for the given libFuzzer options, starting from its seeds in
# tests/fuzz/corpus/<target>/ (so every seed, and every past crash kept
# there, is replayed). Inputs found along the way go to build-fuzz/corpus/,
# crashes to build-fuzz/crashes/. Up to $JOBS targets run at once (default 1).
#   scripts/fuzz.sh -max_total_time=5
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build-fuzz}
jobs=${JOBS:-1}
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUORVEL_FUZZ=ON -DQUORVEL_GUI=OFF -DQUORVEL_TESTS=OFF >/dev/null
cmake --build "$build" --parallel "$(nproc)"
targets=(resource_library tables images settings settings_file practice_text history)
mkdir -p "$build/logs" "$build/crashes"
run_one() {
  local t=$1; shift
  mkdir -p "$build/corpus/$t"
  if ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    "$build/fuzz_$t" -artifact_prefix="$build/crashes/$t-" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 "$@" "$build/corpus/$t" "tests/fuzz/corpus/$t" >"$build/logs/$t.log" 2>&1; then
    echo "fuzz_$t: ok ($(grep -o 'stat::number_of_executed_units: *[0-9]*' "$build/logs/$t.log" |
      grep -o '[0-9]*$') runs; $(grep -o 'cov: [0-9]*' "$build/logs/$t.log" | tail -1))"
  else
    echo "fuzz_$t: FAILED, see $build/logs/$t.log"
    tail -30 "$build/logs/$t.log"
    return 1
  fi
}
status=0
pids=()
for t in "${targets[@]}"; do
  run_one "$t" "$@" &
  pids+=($!)
  if [ ${#pids[@]} -ge "$jobs" ]; then
    wait "${pids[0]}" || status=1
    pids=("${pids[@]:1}")
  fi
done
for p in "${pids[@]}"; do wait "$p" || status=1; done
exit $status
