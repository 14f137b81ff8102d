#!/usr/bin/env bash
# The README's run command: set up, build, start the demo server and the client against it.
# With a display the client runs normally until you close it. Without one it runs under Xvfb,
# saves a screenshot of each stage it reaches into out/shots/ and ends by itself.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/build.sh default
build=build
# Without a display nobody can type, so the demo login page logs itself in.
[ -n "${DISPLAY:-}" ] || VANTOR_DEMO_FLAGS="--autologin"
port=$(grep -E '^VANTOR_DEMO_PORT:' "$build/CMakeCache.txt" | cut -d= -f2)

"$build/demo/vantor-demo-server" --port "$port" ${VANTOR_DEMO_FLAGS:-} &
server_pid=$!
trap 'kill $server_pid 2>/dev/null; wait $server_pid 2>/dev/null' EXIT
for _ in $(seq 1 100); do
  curl -fsS "http://127.0.0.1:$port/gamehome/qvmr/update.txt" >/dev/null 2>&1 && break
  sleep 0.05
done

if [ -n "${DISPLAY:-}" ]; then
  "$build/client/vantor-client" "$@"
  exit $?
fi

shots="$PWD/out/shots"
rm -rf "$shots"
mkdir -p "$shots"
echo "run: no display; running under Xvfb, screenshots go to $shots"
export VANTOR_SHOTS_DIR="$shots"
export VANTOR_SHOTS_LAST="${VANTOR_SHOTS_LAST:-main}"
export VANTOR_SHOTS_TIMEOUT="${VANTOR_SHOTS_TIMEOUT:-60}"
status=0
scripts/with-display.sh "$build/client/vantor-client" "$@" || status=$?
ls -1 "$shots"
exit $status
