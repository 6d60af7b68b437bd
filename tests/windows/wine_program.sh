# shellcheck shell=bash
# What the tests that drive the real tavolen.exe under Wine share: starting it,
# waiting for one of its windows, giving it the focus and typing real keys
# through the X server (xdotool). Sourced by them after they make $work, a
# scratch folder. Needs DISPLAY and WINEPREFIX (scripts/test-windows).
# shellcheck disable=SC2154 # work is the sourcing test's

# start_program EXE [VARIABLE=VALUE...]: tavolen.exe under Wine, in the
# background, its output in $work/tavolen.log. Sets program_pid.
start_program() {
  local exe=$1
  shift
  env "$@" wine "$exe" >"$work/tavolen.log" 2>&1 &
  # shellcheck disable=SC2034 # read by the sourcing test
  program_pid=$!
}

# visible TITLE SECONDS: waits for a visible window of that title and prints
# its id; fails with the program's output if none comes.
visible() {
  local id
  id=$(timeout "$2" xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n1) || true
  [ -n "$id" ] || {
    echo "${0##*/}: no window \"$1\" within $2 s" >&2
    cat "$work/tavolen.log" >&2
    exit 1
  }
  echo "$id"
}

focus() {
  xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1"
  sleep 1
}

keys() {
  xdotool key --delay 60 "$@"
  sleep 0.5
}
