#!/usr/bin/env bash
# Builds, then runs every benchmark and prints their figures as one report.
#   scripts/bench.sh [--with-chromium] [--rounds N] [--download-bytes N] [--idle-seconds N]
# --with-chromium installs the Debian package chromium (when missing) and measures its app mode
# beside the client on the same page. Every server picks a free port.
set -euo pipefail
cd "$(dirname "$0")/.."

with_chromium=0
rounds=3
download_bytes=$((1 << 30))
idle_seconds=60
while [ $# -gt 0 ]; do
  case "$1" in
    --with-chromium) with_chromium=1 ;;
    --rounds) rounds="$2"; shift ;;
    --download-bytes) download_bytes="$2"; shift ;;
    --idle-seconds) idle_seconds="$2"; shift ;;
    *) echo "usage: scripts/bench.sh [--with-chromium] [--rounds N] [--download-bytes N]" \
         "[--idle-seconds N]" >&2; exit 2 ;;
  esac
  shift
done

scripts/build.sh >/dev/null
# The WebGL page draws with three.js, installed from the npm registry into bench/frames.
if [ ! -f bench/frames/node_modules/three/build/three.module.js ]; then
  if command -v npm >/dev/null; then
    npm ci --prefix bench/frames --no-audit --no-fund >/dev/null
  else
    echo "bench: npm is missing; the WebGL frame rate is left out" >&2
  fi
fi

chromium_args=()
if [ "$with_chromium" = 1 ]; then
  if ! command -v chromium >/dev/null; then
    if [ "$(id -u)" != 0 ]; then
      echo "bench: chromium is missing and only root can install it" >&2
      exit 1
    fi
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q chromium >/dev/null
  fi
  chromium_args=(--chromium "$(command -v chromium)")
fi

cat <<EOF
Vantor client benchmarks, $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores
Load before: $(uptime | sed 's/.*load average/load average/')
Memory figures are PSS (shared pages divided among the processes mapping them) summed over each
program's process tree: they only mean something on a quiet machine. Times are medians.

EOF

section() { printf '== %s  (%s)\n' "$1" "$(uptime | sed 's/.*load average: //')"; }

section "Start-up and memory at the login page"
scripts/with-display.sh build/bench/bench_startup "$rounds" "${chromium_args[@]}"
echo
section "Memory of the main window with game tabs"
scripts/with-display.sh build/bench/bench_tabmemory "${chromium_args[@]}"
echo
section "A game page played and idle"
scripts/with-display.sh build/bench/bench_play "$idle_seconds" "${chromium_args[@]}"
echo
section "Durable download"
build/bench/bench_download "$download_bytes" "$rounds"
echo
section "Tab strip composition"
build/bench/bench_tabs
echo
section "Hook dispatch"
build/bench/bench_hooks
echo
echo "Load after: $(uptime | sed 's/.*load average/load average/')"
