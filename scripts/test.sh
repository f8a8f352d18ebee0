#!/usr/bin/env bash
# Sets up, builds and runs every test: the format and layer checks, the
# normal build (warnings as errors) with core and window tests and the
# benchmarks, the Debian packages, then the core tests under ASan + UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
export QT_QPA_PLATFORM=offscreen

# The sources keep the repository's format, and includes only go down the layers.
# Tracked files only: the table generator's downloads hold C++ of their own.
git ls-files -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h' \
  'tools/*.cpp' 'tools/*.h' | xargs clang-format --dry-run -Werror
bash scripts/check-layers.sh

# The method's tables: every code recomputed from the splits, every split
# checked by stroke count (Unihan from unicode-data), every example of the
# learner texts checked against the tables.
python3 tools/imegen/check.py

BUILD_DIR=build bash scripts/build.sh -DQUORVEL_WERROR=ON -DQUORVEL_BENCH=ON
ctest --test-dir build --output-on-failure --parallel "$(nproc)"

# The Debian packages from that build, their contents and metadata checked.
BUILD_DIR=build bash scripts/package.sh

BUILD_DIR=build-asan BUILD_TYPE=Debug bash scripts/build.sh -DQUORVEL_SANITIZE=ON -DQUORVEL_GUI=OFF -DQUORVEL_WERROR=ON
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure --parallel "$(nproc)"

# Every reader of bytes from outside under libFuzzer for a few seconds each,
# replaying the seeds and past crashes in tests/fuzz/corpus/.
if command -v clang++ >/dev/null; then
  bash scripts/fuzz.sh -max_total_time=5
fi
