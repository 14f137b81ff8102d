#!/usr/bin/env bash
# The README's test command: set up, build, run the whole suite under Xvfb.
#   scripts/test.sh [default|asan]
set -euo pipefail
cd "$(dirname "$0")/.."

preset="${1:-default}"
scripts/build.sh "$preset"
# Each suite starts a display of its own (see tests/CMakeLists.txt).
ctest --preset "$preset" -j 2 --timeout 300
