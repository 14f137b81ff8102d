#!/usr/bin/env bash
# Sets the machine up and builds the client, its tools and its tests.
#   scripts/build.sh [default|asan]
set -euo pipefail
cd "$(dirname "$0")/.."

preset="${1:-default}"
scripts/setup.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)"
