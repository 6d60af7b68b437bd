#!/usr/bin/env bash
# One road through the real tavolen.exe under Wine: real keys typed through the
# X server (xdotool), the results read off the screen (tesseract), then an
# invalid number and its message box, closed by Return, first; each result
# copied by its menu and all six by Ctrl+Shift+C, read back by xclip; Alt+F4
# ending the program. The screenshots stay in the build folder: windows-road.png
# and windows-road-box.png. Needs DISPLAY and WINEPREFIX (scripts/test-windows).
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

# shellcheck source=wine_program.sh
source "$(dirname "$0")/wine_program.sh"
start_program "$exe"
pid=$program_pid
window=$(visible '^Tavolen$' 120)
focus "$window"

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

# Each result copied through its menu (a right click, Down to "Copiar",
# Return), then all six by Ctrl+Shift+C, and the clipboard read after each from
# outside the program: by xclip, through Wine's X clipboard. Where each display
# stands in the client area comes from the form itself.
form="$(cd "$(dirname "$0")/../.." && pwd)/window/frm_principal.ui"
centre() {
  python3 -c 'import sys, xml.etree.ElementTree as E
r = E.parse(sys.argv[1]).find(f".//widget[@name=\"{sys.argv[2]}\"]/property[@name=\"geometry\"]/rect")
v = {c.tag: int(c.text) for c in r}
print(v["x"] + v["width"] // 2, v["y"] + v["height"] // 2)' "$form" "$1"
}
clipboard() { xclip -selection clipboard -out 2>/dev/null || true; }
# The clipboard once it is $1, or as it is after five seconds.
wait_clipboard() {
  local texto
  for _ in $(seq 25); do
    texto=$(clipboard)
    [ "$texto" = "$1" ] && break
    sleep 0.2
  done
  printf '%s' "$texto"
}
# The client area's corner on the screen; xdotool's geometry is the frame's.
left=$(xwininfo -id "$window" | awk '/Absolute upper-left X/ {print $4}')
top=$(xwininfo -id "$window" | awk '/Absolute upper-left Y/ {print $4}')
copiados=0
for fila in lblDbv:60,0000 lblDbp:30,0000 txtFv:1,99526231 txtFp:3,98107171 \
            lblDbfv:40,0000 lblDbfp:20,0000; do
  control=${fila%%:*} esperado=${fila#*:}
  read -r cx cy < <(centre "$control")
  xdotool mousemove $((left + cx)) $((top + cy)) click 3
  sleep 0.8
  keys Down Return
  copiado=$(wait_clipboard "$esperado")
  if [ "$copiado" = "$esperado" ]; then
    copiados=$((copiados + 1))
  else
    echo "road: the menu of $control copied \"$copiado\", not \"$esperado\"" >&2
    fallos=1
  fi
done
todos="Decibelios de tensiones: 60,0000
Decibelios de potencias: 30,0000
Factor de tensiones: 1,99526231
Factor de potencias: 3,98107171
Decibelios del factor en tensiones: 40,0000
Decibelios del factor en potencias: 20,0000"
keys ctrl+shift+c
copiado=$(wait_clipboard "$todos")
if [ "$copiado" = "$todos" ]; then
  copiados=$((copiados + 1))
else
  echo "road: Ctrl+Shift+C copied:" >&2
  printf '%s' "$copiado" | od -c | head -20 >&2
  fallos=1
fi
[ "$fallos" -eq 0 ] || exit 1
echo "road: $copiados of 7 copies read back from the clipboard by xclip"

xdotool key alt+F4
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
if kill -0 "$pid" 2>/dev/null; then echo "road: Alt+F4 did not end tavolen.exe" >&2; exit 1; fi
wait "$pid" || { echo "road: tavolen.exe ended with $?" >&2; cat "$work/tavolen.log" >&2; exit 1; }
pid=""
echo "road: results read off the screen, box closed, program ended; screenshots in $out"
