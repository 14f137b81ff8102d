#!/usr/bin/env bash
# Runs a command with a display. With DISPLAY already set it just runs it; otherwise it starts
# Xvfb on a free display with a window manager (openbox) and a compositor (xcompmgr, so that
# per-pixel-alpha windows blend with what lies under them), runs the command, and tears it all
# down again. The command's exit status is returned.
set -u

if [ -n "${DISPLAY:-}" ] && [ -z "${VANTOR_FORCE_XVFB:-}" ]; then
  exec "$@"
fi

# Xvfb picks a free display itself and tells us which, so parallel runs never collide. Two
# servers starting at the same moment can still reach for the same display, and the loser ends,
# sometimes only after it has said its number; so a start counts once our own server is alive
# and answering, and otherwise it simply tries again.
xvfb_log=$(mktemp)
start_xvfb() {
  local fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1600x900x24 -nolisten tcp +extension Composite +extension RANDR \
    3>"$fifo" >/dev/null 2>"$xvfb_log" &
  xvfb_pid=$!
  read -r -t 10 number <"$fifo" || number=""
  rm -f "$fifo"
  [ -n "$number" ] || return 1
  for _ in $(seq 1 100); do
    kill -0 "$xvfb_pid" 2>/dev/null || return 1
    DISPLAY=":$number" xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.05
  done
  return 1
}
started=""
for _ in 1 2 3 4 5 6 7 8; do
  if start_xvfb; then
    started=1
    break
  fi
  kill "$xvfb_pid" 2>/dev/null
  wait "$xvfb_pid" 2>/dev/null
  sleep 0.$((RANDOM % 5 + 1))
done
if [ -z "$started" ]; then
  echo "with-display: Xvfb did not start; it said:" >&2
  cat "$xvfb_log" >&2
  rm -f "$xvfb_log"
  exit 1
fi
rm -f "$xvfb_log"
cleanup() {
  [ -n "${comp_pid:-}" ] && kill "$comp_pid" 2>/dev/null
  [ -n "${wm_pid:-}" ] && kill "$wm_pid" 2>/dev/null
  kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
}
trap cleanup EXIT
export DISPLAY=":$number"

openbox --sm-disable >/dev/null 2>&1 &
wm_pid=$!
xcompmgr -n >/dev/null 2>&1 &
comp_pid=$!
# Give the window manager time to take the screen before the first window maps; a busy machine
# can take seconds. It is ready once it says it can activate windows (tests ask it to), and one
# that ended on the way is started again.
for _ in $(seq 1 400); do
  xprop -root _NET_SUPPORTED 2>/dev/null | grep -q '_NET_ACTIVE_WINDOW' && break
  if ! kill -0 "$wm_pid" 2>/dev/null; then
    openbox --sm-disable >/dev/null 2>&1 &
    wm_pid=$!
  fi
  sleep 0.05
done

"$@"
