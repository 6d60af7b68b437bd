# Sourced by the scripts that need a real X server: a private Xvfb on a display
# that the server itself picks as free, and optionally a small window manager,
# both stopped by their PIDs on exit.
#   start_virtual_display [SCREEN]   e.g. 1024x768x24 (the default)
#   start_window_manager [WM]        evilwm when installed, or WM; WM_NAME says which ran
# Afterwards DISPLAY names the display, QT_QPA_PLATFORM is xcb and SESSION_DIR
# is a scratch directory, removed on exit.

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
  local screen=${1:-1024x768x24}
  trap stop_virtual_display EXIT
  trap 'exit 130' INT TERM
  SESSION_DIR=$(mktemp -d)
  # -displayfd: the server writes the display number it chose once it accepts
  # connections, so that two sessions never collide. -noreset: the server stays
  # as it is between the clients of a measurement that starts many in a row.
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset \
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

# A window manager changes what mapping a window involves (the frame, the
# reparenting) and hands the activation back when a modal box closes, as a
# desktop does. WM is evilwm (the default) or openbox; without it installed,
# WM_NAME says so.
start_window_manager() {
  local wm=${1:-evilwm} tries=0
  command -v "$wm" >/dev/null 2>&1 || return 0
  case $wm in
    # Xvfb has only its built-in core fonts; evilwm's default is not among them.
    evilwm) evilwm -fn fixed >"$SESSION_DIR/wm.log" 2>&1 & ;;
    openbox) openbox --sm-disable >"$SESSION_DIR/wm.log" 2>&1 & ;;
  esac
  WM_PID=$!
  WM_NAME=$wm
  # openbox says on the root window when it is ready. evilwm is ready once it
  # holds the root window's redirection, which xwininfo cannot see, so it gets
  # the short time it needs.
  if [ "$wm" = openbox ]; then
    until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
      tries=$((tries + 1))
      [ "$tries" -le 200 ] && kill -0 "$WM_PID" 2>/dev/null || break
      sleep 0.05
    done
  else
    sleep 0.5
  fi
  kill -0 "$WM_PID" 2>/dev/null || { WM_PID=""; WM_NAME="none ($wm failed)"; cat "$SESSION_DIR/wm.log" >&2; }
}
