#!/usr/bin/env bash
# Fails on any C++ file of the tree that clang-format (with the repo's .clang-format) would
# change, and names them. scripts/check-format.sh --fix rewrites them instead.
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${files[@]}"
  exit 0
fi
if ! report=$(clang-format --dry-run --Werror "${files[@]}" 2>&1); then
  echo "check-format: not formatted (scripts/check-format.sh --fix rewrites them):" >&2
  grep -oE '^[^:]+\.(cpp|h)' <<<"$report" | sort -u | sed 's/^/  /' >&2
  exit 1
fi
