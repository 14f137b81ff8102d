#!/usr/bin/env bash
# scripts/run.sh with its demo port held by another program: it must stop at once and name the
# port, not run the client against a stranger. Argument: the build folder.
set -u
build=$1
root=$(cd "$(dirname "$0")/.." && pwd)

# The stranger takes a free port of its own choosing and says which.
coproc stranger { exec "$build/demo/vantor-demo-server" --port 0; }
read -r -t 20 line <&"${stranger[0]}" || { echo "the stranger did not start" >&2; exit 1; }
port=${line##*:}
trap 'kill "$stranger_PID" 2>/dev/null' EXIT

start=$(date +%s)
output=$(cd "$root" && env -u DISPLAY VANTOR_RUN_NO_BUILD=1 VANTOR_RUN_PORT="$port" \
  VANTOR_SHOTS_TIMEOUT=20 timeout 60 scripts/run.sh 2>&1)
status=$?
elapsed=$(($(date +%s) - start))

fail() { echo "FAIL: $*"; echo "--- run.sh said:"; echo "$output"; exit 1; }
[ "$status" -ne 0 ] || fail "run.sh succeeded against a stranger on port $port"
[ "$elapsed" -le 5 ] || fail "run.sh took ${elapsed}s to give up"
grep -q "port $port" <<<"$output" || fail "the message does not name port $port"
grep -q "running under Xvfb" <<<"$output" && fail "the client was started"
echo "PASS: run.sh stopped after ${elapsed}s: $(grep "port $port" <<<"$output")"
