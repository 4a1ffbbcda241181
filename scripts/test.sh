#!/usr/bin/env bash
# The whole test suite, under the current display or a private Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
JOBS=${JOBS:-2}
bash scripts/with-display.sh ctest --test-dir "$BUILD" --output-on-failure -j "$JOBS"
