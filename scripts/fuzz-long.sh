#!/usr/bin/env bash
# Runs every fuzz target long: 10 million inputs or 10 minutes each,
# whichever comes first, two at a time (override: RUNS, SECONDS_EACH, JOBS).
set -euo pipefail
cd "$(dirname "$0")/.."
JOBS=${JOBS:-2} exec bash scripts/fuzz.sh -runs="${RUNS:-10000000}" \
  -max_total_time="${SECONDS_EACH:-600}"
