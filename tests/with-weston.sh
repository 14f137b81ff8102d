#!/usr/bin/env bash
# Runs a command as a Wayland client of a compositor of its own: weston on its X11 backend, in
# the X display the suite already has (scripts/with-display.sh), so the display's keyboard and
# pointer are weston's seat and xdotool's keys reach the Wayland window that has the focus.
#   tests/with-weston.sh COMMAND [ARGS…]
set -u

runtime=$(mktemp -d)
chmod 700 "$runtime"
cat >"$runtime/weston.ini" <<'INI'
[core]
idle-time=0
[shell]
panel-position=top
[input-method]
path=
INI
XDG_RUNTIME_DIR="$runtime" weston --config="$runtime/weston.ini" --backend=x11-backend.so \
  --socket=wayland-vantor --width=1280 --height=800 --use-pixman >"$runtime/weston.log" 2>&1 &
weston_pid=$!
cleanup() {
  kill "$weston_pid" 2>/dev/null
  wait "$weston_pid" 2>/dev/null
  rm -rf "$runtime"
}
trap cleanup EXIT

for _ in $(seq 1 100); do
  [ -S "$runtime/wayland-vantor" ] && break
  kill -0 "$weston_pid" 2>/dev/null || break
  sleep 0.05
done
if [ ! -S "$runtime/wayland-vantor" ]; then
  echo "with-weston: weston did not start; it said:" >&2
  cat "$runtime/weston.log" >&2
  exit 1
fi
# The display's window manager gives weston's window, the only one, the keyboard.

# An absolute socket path: the command may choose another runtime folder of its own.
WAYLAND_DISPLAY="$runtime/wayland-vantor" QT_QPA_PLATFORM=wayland "$@"
