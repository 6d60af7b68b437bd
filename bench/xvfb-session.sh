# Sourced by the start-up measurements: a private virtual X display with a small
# window manager when one is installed, both stopped by their PIDs on exit.
# After start_virtual_display, DISPLAY names the display and SESSION_DIR is a
# scratch directory removed on exit.

SESSION_DIR=""
XVFB_PID=""
WM_PID=""
WM_NAME="none"

stop_virtual_display() {
  if [ -n "$WM_PID" ]; then kill "$WM_PID" 2>/dev/null || true; wait "$WM_PID" 2>/dev/null || true; fi
  if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; wait "$XVFB_PID" 2>/dev/null || true; fi
  if [ -n "$SESSION_DIR" ]; then rm -rf "$SESSION_DIR"; fi
}

start_virtual_display() {
  trap stop_virtual_display EXIT
  trap 'exit 130' INT TERM
  SESSION_DIR=$(mktemp -d)
  # -displayfd lets the server pick a free display number and tell us once it
  # accepts connections, so two measurements never collide.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
    3>"$SESSION_DIR/display" >"$SESSION_DIR/xvfb.log" 2>&1 &
  XVFB_PID=$!
  local tries=0
  until [ -s "$SESSION_DIR/display" ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 200 ] || ! kill -0 "$XVFB_PID" 2>/dev/null; then
      echo "Xvfb did not start:" >&2; cat "$SESSION_DIR/xvfb.log" >&2; return 1
    fi
    sleep 0.05
  done
  export DISPLAY=":$(head -n1 "$SESSION_DIR/display")"
  export QT_QPA_PLATFORM=xcb
  # Qt wants a private runtime directory and warns on every start without one.
  export XDG_RUNTIME_DIR="$SESSION_DIR/runtime"
  mkdir -m 700 "$XDG_RUNTIME_DIR"

  # A window manager changes what mapping a window involves (the frame, the
  # reparenting), so measure with one as a desktop would; without one, say so.
  if command -v evilwm >/dev/null 2>&1; then
    # Xvfb has only its built-in core fonts; evilwm's default is not among them.
    evilwm -fn fixed >"$SESSION_DIR/wm.log" 2>&1 &
    WM_PID=$!
    WM_NAME="evilwm"
    # The manager is ready once it holds the redirection of the root window;
    # xwininfo cannot see that, so give it the short time it needs.
    sleep 0.5
    kill -0 "$WM_PID" 2>/dev/null || { WM_PID=""; WM_NAME="none (evilwm failed)"; }
  fi
}
