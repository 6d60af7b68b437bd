#!/usr/bin/env bash
# One road through the real tavolen.exe under Wine: real keys typed through the
# X server (xdotool), the results read off the screen (tesseract), then an
# invalid number and its message box, closed by Return, first; Alt+F4 ending the
# program. The screenshots stay in the build folder: windows-road.png and
# windows-road-box.png. Needs DISPLAY and WINEPREFIX (scripts/test-windows).
# Usage: road_test.sh TAVOLEN_EXE BUILD_DIR
set -euo pipefail
exe=$1
out=$2
work=$(mktemp -d)
pid=""
cleanup() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill "$pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

wine "$exe" >"$work/tavolen.log" 2>&1 &
pid=$!
# Waits for a visible window of that title and prints its id.
visible() {
  local id
  id=$(timeout "$2" xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n1) || true
  [ -n "$id" ] || { echo "road: no window \"$1\" within $2 s" >&2; cat "$work/tavolen.log" >&2; exit 1; }
  echo "$id"
}
window=$(visible '^Tavolen$' 120)
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
sleep 1

keys() { xdotool key --delay 60 "$@"; sleep 0.5; }

# First an invalid number in Tensiones, which has the focus at start-up: the
# box comes up, and Return closes it and gives the window the keys back.
keys 1 comma 2 comma 3 Tab
box=$(visible '^Error$' 30)
sleep 0.5
import -window root "$out/windows-road-box.png"
xdotool key Return
for _ in $(seq 50); do
  xdotool search --onlyvisible --name '^Error$' >/dev/null 2>&1 || break
  sleep 0.2
done
if xdotool search --onlyvisible --name '^Error$' >/dev/null 2>&1; then
  echo "road: Return did not close the message box $box" >&2
  exit 1
fi

# Tensiones 0,02 and 20; Potencias 1 and 1000; Decibelios 6; Factor 100; each
# Enter moves on, the last to " CALCULAR ", which the next Enter presses.
keys 0 period 0 2 Return 2 0 Return
keys 1 Return 1 0 0 0 Return
keys 6 Return
keys 1 0 0 Return Return
sleep 1
import -window root "$out/windows-road.png"

# The window alone, three times larger and grey, reads well.
eval "$(xdotool getwindowgeometry --shell "$window")"
convert "$out/windows-road.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage \
  -colorspace Gray -resize 300% "$work/window.png"
tesseract "$work/window.png" "$work/ocr" --psm 11 >/dev/null 2>&1
tr -s ' \n' '\n\n' <"$work/ocr.txt" >"$work/words"
fallos=0
# 20·log10(20/0,02), 10·log10(1000/1), 10^(6/20) and 10^(6/10) (eight
# decimals below 10 dB), 20·log10(100)
for esperado in 60,0000 30,0000 1,99526231 3,98107171 40,0000; do
  if ! grep -qxF "$esperado" "$work/words"; then
    echo "road: \"$esperado\" is not on the screen" >&2
    fallos=1
  fi
done
if [ "$fallos" -ne 0 ]; then
  echo "road: the screen read:" >&2
  tr '\n' ' ' <"$work/words" >&2
  echo >&2
  exit 1
fi

xdotool key alt+F4
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
if kill -0 "$pid" 2>/dev/null; then echo "road: Alt+F4 did not end tavolen.exe" >&2; exit 1; fi
wait "$pid" || { echo "road: tavolen.exe ended with $?" >&2; cat "$work/tavolen.log" >&2; exit 1; }
pid=""
echo "road: results read off the screen, box closed, program ended; screenshots in $out"
