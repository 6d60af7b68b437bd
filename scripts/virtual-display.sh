# Sourced by the scripts that need a real X server: a private Xvfb on a display
# that the server itself picks as free, stopped by its PID on exit.
#   start_virtual_display [SCREEN]   e.g. 1024x768x24 (the default)
# Afterwards DISPLAY names the display, QT_QPA_PLATFORM is xcb and SESSION_DIR
# is a scratch directory, removed on exit.

SESSION_DIR=""
XVFB_PID=""

stop_virtual_display() {
  if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; wait "$XVFB_PID" 2>/dev/null || true; fi
  if [ -n "$SESSION_DIR" ]; then rm -rf "$SESSION_DIR"; fi
}

start_virtual_display() {
  local screen=${1:-1024x768x24}
  trap stop_virtual_display EXIT
  trap 'exit 130' INT TERM
  SESSION_DIR=$(mktemp -d)
  # -displayfd: the server writes the display number it chose once it accepts
  # connections, so that two sessions never collide.
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp \
    3>"$SESSION_DIR/display" >"$SESSION_DIR/xvfb.log" 2>&1 &
  XVFB_PID=$!
  local tries=0
  until [ -s "$SESSION_DIR/display" ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 200 ] || ! kill -0 "$XVFB_PID" 2>/dev/null; then
      echo "Xvfb did not start:" >&2
      cat "$SESSION_DIR/xvfb.log" >&2
      return 1
    fi
    sleep 0.05
  done
  export DISPLAY=":$(head -n1 "$SESSION_DIR/display")"
  export QT_QPA_PLATFORM=xcb
  # Qt wants a private runtime directory and warns on every start without one.
  export XDG_RUNTIME_DIR="$SESSION_DIR/runtime"
  mkdir -m 700 "$XDG_RUNTIME_DIR"
}
