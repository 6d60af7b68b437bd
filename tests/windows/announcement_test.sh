#!/usr/bin/env bash
# What a screen reader on Windows hears after " CALCULAR " and RESET: the real
# tavolen.exe, typed into with real keys, while announcement_client subscribes
# to its window's UI Automation notification events as NVDA and Narrator do.
# The sentences must be the results, each named, and then the clearing.
#
# A UI Automation that cannot deliver notification events (Wine's client
# answers AddNotificationEventHandler with E_NOTIMPL) leaves what the program
# itself raised: Wine logs each UiaRaiseNotificationEvent call, with its kind
# (4, other), its processing (2, all) and its sentence, on its fixme channel.
# Needs DISPLAY and WINEPREFIX (scripts/test-windows).
# Usage: announcement_test.sh TAVOLEN_EXE CLIENT_EXE
set -euo pipefail
exe=$1
client=$2
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

calculo="Decibelios de tensiones: 20,0000. Decibelios de potencias: 6,9897. \
Factor de tensiones: 0,501187233627. Factor de potencias: 0,251188643151. \
Decibelios del factor en tensiones: 6,0206. Decibelios del factor en potencias: 3,0103."
reset="Todas las cifras y todos los resultados vuelven a cero."

# shellcheck source=wine_program.sh
source "$(dirname "$0")/wine_program.sh"
start_program "$exe" WINEDEBUG=-all,fixme+uiautomation
pids+=("$program_pid")
window=$(visible '^Tavolen$' 120)

# The client asks for the window's UI Automation element, which is what turns
# the program's accessibility on, and then subscribes.
wine "$client" 2 60 >"$work/client.log" 2>&1 &
client_pid=$!
pids+=("$client_pid")
for _ in $(seq 300); do
  grep -qE '^(listening|unsupported|error)' "$work/client.log" && break
  kill -0 "$client_pid" 2>/dev/null || break
  sleep 0.2
done
grep -qE '^(listening|unsupported)' "$work/client.log" ||
  { echo "announcement: the client did not subscribe:" >&2; cat "$work/client.log" >&2; exit 1; }

focus "$window"
# 2 and 20 V, 1 and 5 W, -6 dB and the factor 2; the factor's Enter moves to
# " CALCULAR ", the next presses it; Tab moves on to RESET, Enter presses it.
keys 2 Return 2 0 Return 1 Return 5 Return minus 6 Return 2 Return Return
sleep 1
keys Tab Return

status=0
wait "$client_pid" || status=$?
cat "$work/client.log"
# The sentences in the order they came, whichever way they were observed.
if [ "$status" -eq 3 ]; then
  echo "announcement: no notification events reach a client here; what the program raised:"
  sed -n 's/^.*fixme:uiautomation:UiaRaiseNotificationEvent ([0-9a-fA-F]*, 4, 2, L"\(.*\)", L""): stub$/\1/p' \
    "$work/tavolen.log" >"$work/sentences"
else
  [ "$status" -eq 0 ] || { echo "announcement: the client ended with $status" >&2; exit 1; }
  sed -n 's/^notification: //p' "$work/client.log" >"$work/sentences"
fi
cat "$work/sentences"
printf '%s\n%s\n' "$calculo" "$reset" >"$work/expected"
if ! cmp -s "$work/expected" "$work/sentences"; then
  echo "announcement: expected these two sentences:" >&2
  cat "$work/expected" >&2
  grep -i uiautomation "$work/tavolen.log" | head -20 >&2 || true
  exit 1
fi
echo "announcement: both sentences announced"
