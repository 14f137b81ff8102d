#!/usr/bin/env bash
# Sets the machine up and builds the client, its tools and its tests.
#   scripts/build.sh [default|asan]
set -euo pipefail
cd "$(dirname "$0")/.."

preset="${1:-default}"
scripts/setup.sh
# CI sets VANTOR_WARNINGS_AS_ERRORS=ON; a player's build only warns.
strict=()
if [ -n "${VANTOR_WARNINGS_AS_ERRORS:-}" ]; then
  strict=(-D CMAKE_COMPILE_WARNING_AS_ERROR="$VANTOR_WARNINGS_AS_ERRORS")
fi
cmake --preset "$preset" "${strict[@]}" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)"
