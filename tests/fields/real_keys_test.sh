#!/usr/bin/env bash
# The entry fields under real X11 key events: a private Xvfb with a window
# manager, and xdotool typing into the window of REAL_KEYS_TEST, a Qt Test
# suite that checks what the fields made of the keys.
# Usage: real_keys_test.sh REAL_KEYS_TEST
set -euo pipefail
suite=$1
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../../scripts/virtual-display.sh
source "$here/../../scripts/virtual-display.sh"
start_virtual_display 1024x768x24

# A window manager, since activation after a modal box is its business.
start_window_manager

"$suite"
