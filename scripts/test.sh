#!/usr/bin/env bash
# The README's test command: set up, build, run the whole suite under Xvfb.
#   scripts/test.sh [default|asan]
set -euo pipefail
cd "$(dirname "$0")/.."

preset="${1:-default}"
scripts/build.sh "$preset"
export VANTOR_FORCE_XVFB=1
scripts/with-display.sh ctest --preset "$preset" -j 2 --timeout 180
