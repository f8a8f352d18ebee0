#!/usr/bin/env bash
# Sets up, builds and runs every test: the normal build (warnings as errors)
# with core and window tests, then the core tests under ASan + UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
export QT_QPA_PLATFORM=offscreen

BUILD_DIR=build bash scripts/build.sh -DQUORVEL_WERROR=ON -DQUORVEL_BENCH=ON
ctest --test-dir build --output-on-failure --parallel "$(nproc)"

BUILD_DIR=build-asan BUILD_TYPE=Debug bash scripts/build.sh -DQUORVEL_SANITIZE=ON -DQUORVEL_GUI=OFF -DQUORVEL_WERROR=ON
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure --parallel "$(nproc)"
