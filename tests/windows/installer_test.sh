#!/usr/bin/env bash
# The installer under Wine, silently (/S): for the current user and then for
# all users, each time the program, its Start menu entry and its entry among
# the installed programs, then the uninstaller (/S) taking all of it away.
# Needs WINEPREFIX (scripts/test-windows).
# Usage: installer_test.sh SETUP_EXE VERSION
set -euo pipefail
setup=$1
version=$2
drive=$WINEPREFIX/drive_c
user=$(whoami)
clave='Software\Microsoft\Windows\CurrentVersion\Uninstall\Tavolen'
fallos=0
falla() { echo "installer: $*" >&2; fallos=1; }

# mode: CurrentUser or AllUsers; dir, menu: the Unix paths of the install and
# of the Start menu entry; hive: where the uninstall entry goes.
road() {
  local mode=$1 dir=$2 menu=$3 hive=$4
  wine "$setup" /S "/$mode" || falla "$mode: the installer ended with $?"
  [ -s "$dir/tavolen.exe" ] || falla "$mode: no $dir/tavolen.exe"
  [ -s "$dir/uninstall.exe" ] || falla "$mode: no uninstaller in $dir"
  [ -s "$menu" ] || falla "$mode: no Start menu entry $menu"
  wine reg query "$hive\\$clave" /v DisplayVersion 2>/dev/null | grep -q "$version" ||
    falla "$mode: no uninstall entry in $hive"

  # The uninstaller copies itself away and runs from there, so the call returns
  # before the work is done: wait for the folder to go.
  wine "$dir/uninstall.exe" /S || falla "$mode: the uninstaller ended with $?"
  for _ in $(seq 150); do [ -e "$dir" ] || break; sleep 0.2; done
  [ ! -e "$dir" ] || falla "$mode: $dir is still there: $(ls "$dir")"
  [ ! -e "$menu" ] || falla "$mode: the Start menu entry is still there"
  if wine reg query "$hive\\$clave" >/dev/null 2>&1; then falla "$mode: the uninstall entry is still there"; fi
}

road CurrentUser "$drive/users/$user/AppData/Local/Programs/Tavolen" \
  "$drive/users/$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Tavolen.lnk" HKCU
road AllUsers "$drive/Program Files/Tavolen" \
  "$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Tavolen.lnk" HKLM

[ "$fallos" -eq 0 ] && echo "installer: installed and uninstalled for the user and for all users"
exit "$fallos"
