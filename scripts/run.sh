#!/usr/bin/env bash
# Installs only what the tutor needs to be built and to run, builds the tutor
# alone (no tests) into build-run/, and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh run
BUILD_DIR=${BUILD_DIR:-build-run} bash scripts/build.sh -DQUORVEL_TESTS=OFF
exec "./${BUILD_DIR:-build-run}/quorvel"
