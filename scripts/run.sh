#!/usr/bin/env bash
# The README's run command: set up, build, start the demo server and the client against it.
# With a display the client runs normally until you close it. Without one it runs under Xvfb,
# saves a screenshot of each stage it reaches into out/shots/ and ends by itself.
set -euo pipefail
cd "$(dirname "$0")/.."

# VANTOR_RUN_NO_BUILD and VANTOR_RUN_PORT are for the script's own test: no build, and another
# port than the build's.
[ -n "${VANTOR_RUN_NO_BUILD:-}" ] || scripts/build.sh default
build=build
# Without a display nobody can type, so the demo login page logs itself in.
[ -n "${DISPLAY:-}" ] || VANTOR_DEMO_FLAGS="--autologin"
port=${VANTOR_RUN_PORT:-$(grep -E '^VANTOR_DEMO_PORT:' "$build/CMakeCache.txt" | cut -d= -f2)}

port_taken() {
  echo "run: port $port is taken by another program; stop it, or build with another port" \
    "(cmake --preset default -D VANTOR_DEMO_PORT=N)" >&2
  exit 1
}
# Whatever answers there now is not our demo server: the client would talk to a stranger.
(exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && port_taken

"$build/demo/vantor-demo-server" --port "$port" ${VANTOR_DEMO_FLAGS:-} &
server_pid=$!
trap 'kill $server_pid 2>/dev/null; wait $server_pid 2>/dev/null' EXIT
ready=""
for _ in $(seq 1 100); do
  kill -0 "$server_pid" 2>/dev/null || port_taken
  curl -fsS "http://127.0.0.1:$port/gamehome/qvmr/update.txt" >/dev/null 2>&1 && ready=1 && break
  sleep 0.05
done
[ -n "$ready" ] || { echo "run: the demo server on port $port did not answer" >&2; exit 1; }

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
