#!/usr/bin/env bash
# The real executable on a real X server: starts Xvfb, starts tavolen, lets
# x_window_check find its window, check it and close it, and then expects the
# program to have ended by itself with status 0.
# Usage: real_x_server_test.sh TAVOLEN X_WINDOW_CHECK
set -euo pipefail
tavolen=$1
check=$2
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../../scripts/virtual-display.sh
source "$here/../../scripts/virtual-display.sh"
start_virtual_display 1024x768x24

"$tavolen" >"$SESSION_DIR/tavolen.log" 2>&1 &
app=$!
stop_app() { kill "$app" 2>/dev/null || true; wait "$app" 2>/dev/null || true; stop_virtual_display; }
trap stop_app EXIT

failed=0
"$check" Tavolen 689 533 60 "$app" || failed=1

# Closing the window ends the program.
for _ in $(seq 1 200); do
  kill -0 "$app" 2>/dev/null || break
  sleep 0.05
done
if kill -0 "$app" 2>/dev/null; then
  echo "FAIL: tavolen still runs 10 seconds after its window was closed"
  failed=1
else
  status=0
  wait "$app" || status=$?
  if [ "$status" -eq 0 ]; then
    echo "ok: closing the window ended tavolen with status 0"
  else
    echo "FAIL: tavolen ended with status $status"
    failed=1
  fi
fi
if [ "$failed" -ne 0 ] || [ -s "$SESSION_DIR/tavolen.log" ]; then
  echo "--- what tavolen wrote:"
  cat "$SESSION_DIR/tavolen.log"
fi
exit "$failed"
