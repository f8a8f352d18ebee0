#!/usr/bin/env bash
# The windows under AddressSanitizer, UndefinedBehaviorSanitizer and
# LeakSanitizer: builds build-asan-gui/ and runs every window test, among
# them a whole session (a drill to its end, every window opened, quit).
# Nothing is suppressed: any leak or error report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
BUILD_DIR=build-asan-gui BUILD_TYPE=Debug bash scripts/build.sh -DQUORVEL_SANITIZE=ON \
  -DQUORVEL_GUI=ON -DQUORVEL_WERROR=ON
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1
build-asan-gui/quorvel_window_tests "$@"
