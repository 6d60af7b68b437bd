#!/usr/bin/env bash
# Builds the Debian package from the build tree, unpacks it as dpkg would
# install it, and checks what a desktop relies on: the package's dependencies,
# the files the launcher names, the installed tree as a software centre reads
# it, and that the unpacked executable opens its window on a real X server.
#
# Usage: deb_installs_and_starts.sh CPACK CPACK_CONFIG APP_ID
set -euo pipefail

cpack=$1
cpack_config=$2
app_id=$3

here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
app_pid=""
cleanup() {
    if [ -n "$app_pid" ]; then kill "$app_pid" 2>/dev/null || true; wait "$app_pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# The value of KEY in the [Desktop Entry] group of a launcher.
desktop_key() {
    sed -n "/^\[Desktop Entry\]/,/^\[/s/^$2=//p" "$1" | head -n 1
}

# --- The package --------------------------------------------------------------
# -B keeps cpack's staging and output out of the build tree, so that this test
# and `make package` never write over each other.
"$cpack" --config "$cpack_config" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; fail "cpack did not build the package"; }
shopt -s nullglob
debs=("$work"/out/*.deb)
shopt -u nullglob
[ ${#debs[@]} -eq 1 ] || fail "cpack made ${#debs[@]} .deb files, not one"
deb=${debs[0]}
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"

[ "$(dpkg-deb --field "$deb" Package)" = tavolen ] || fail "the package is not named tavolen"
[ "$(dpkg-deb --field "$deb" Architecture)" = "$(dpkg --print-architecture)" ] ||
    fail "the package is not built for $(dpkg --print-architecture)"

depends=$(dpkg-deb --field "$deb" Depends)
echo "Depends: $depends"
# Package names only, one a line: "libc6 (>= 2.34), fonts-liberation" -> libc6, fonts-liberation.
depend_names=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/[ (].*//')
# apt resolves the dependencies, versions included, against this Debian as
# `apt-get install ./tavolen_….deb` would, without installing anything.
apt-get install --simulate --quiet "$deb" >"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log" >&2; fail "apt cannot install the package here"; }
grep -q '^Inst tavolen ' "$work/apt.log" || { cat "$work/apt.log" >&2; fail "apt would not install tavolen"; }

# --- The installed tree -------------------------------------------------------
root="$work/root"
dpkg -x "$deb" "$root"

# The package of a file on this system, as this Debian release names it
# (Debian 13 renamed the libraries for the 64-bit time_t: libqt6core6t64).
# Files of a merged /usr may be registered under /lib.
owner() {
    local f
    for f in "$1" "$(readlink -f "$1")" "${1#/usr}"; do
        dpkg-query -S "$f" 2>/dev/null | sed -n '1{s/: .*//; s/:.*//; p}' | grep . && return
    done
    return 1
}
# Every library the executable links comes with a package in Depends, as
# dpkg-shlibdeps must have found it; without it the package would install on a
# machine that cannot start it. So does each face the window's fonts are drawn
# with here (Arial and Arial Narrow are named by hand, their twins are Liberation's).
needed=$(objdump -p "$root/usr/bin/tavolen" | awk '$1 == "NEEDED" { print $2 }')
for soname in $needed; do
    path=$(ldd "$root/usr/bin/tavolen" | awk -v s="$soname" '$1 == s { print $3 }')
    [ -f "$path" ] || fail "$soname, which the executable links, is not found here"
    package=$(owner "$path") || fail "no package holds $path"
    grep -Fxq "$package" <<<"$depend_names" || fail "Depends lacks $package, which holds $soname"
done
for needed_libs in libc6 libstdc++6 libqt6core6 libqt6widgets6; do
    grep -q "^$needed_libs" <<<"$depend_names" || fail "Depends lacks $needed_libs (of any name)"
done
for face in 'Arial:bold' 'Arial Narrow:bold'; do
    file=$(fc-match -f '%{file}' "$face")
    package=$(owner "$file") || fail "no package holds $file, which draws $face"
    grep -Fxq "$package" <<<"$depend_names" || fail "Depends lacks $package, which draws $face"
done
# The window loads Qt's Spanish translations by file name: no library links them.
grep -Fxq qt6-translations-l10n <<<"$depend_names" || fail "Depends lacks qt6-translations-l10n"

launcher="$root/usr/share/applications/$app_id.desktop"
metainfo="$root/usr/share/metainfo/$app_id.metainfo.xml"
[ -f "$launcher" ] || fail "no launcher at /usr/share/applications/$app_id.desktop"
[ -f "$metainfo" ] || fail "no metainfo at /usr/share/metainfo/$app_id.metainfo.xml"

# A launcher names its program by a name looked up on PATH, or by a full path.
program_path() {
    case "$1" in
    /*) echo "$root$1" ;;
    *) echo "$root/usr/bin/$1" ;;
    esac
}
exec_line=$(desktop_key "$launcher" Exec)
try_exec=$(desktop_key "$launcher" TryExec)
[ -n "$exec_line" ] || fail "the launcher has no Exec line"
executable=$(program_path "${exec_line%% *}")
[ -x "$executable" ] || fail "Exec=$exec_line names no executable in the package"
[ -z "$try_exec" ] || [ -x "$(program_path "$try_exec")" ] || fail "TryExec=$try_exec names no executable"

# The launcher's icon, as a desktop looks it up in the hicolor theme: a PNG of
# each size in the folder of that size, and the drawing in scalable/.
icon=$(desktop_key "$launcher" Icon)
[ -n "$icon" ] || fail "the launcher names no icon"
icons="$root/usr/share/icons/hicolor"
for size in 16 32 48 64 128 256; do
    png="$icons/${size}x${size}/apps/$icon.png"
    [ -f "$png" ] || fail "no ${size}x${size} icon at ${png#"$root"}"
    file -b "$png" | grep -q "^PNG image data, $size x $size," || fail "${png#"$root"} is not a $size x $size PNG"
done
svg="$icons/scalable/apps/$icon.svg"
[ -f "$svg" ] || fail "no scalable icon at ${svg#"$root"}"
file -b "$svg" | grep -q '^SVG Scalable Vector Graphics image' || fail "${svg#"$root"} is not an SVG drawing"

grep -Fq "<id>$app_id</id>" "$metainfo" || fail "the metainfo's id is not $app_id"
grep -Fq "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
    fail "the metainfo does not point at the launcher $app_id.desktop"
grep -Fq "<binary>${exec_line%% *}</binary>" "$metainfo" || fail "the metainfo does not provide the launcher's executable"

# The tree as a software centre reads it: metainfo, launcher and their links.
appstreamcli validate-tree --no-net "$root" >"$work/validate-tree.log" 2>&1 ||
    { cat "$work/validate-tree.log" >&2; fail "appstreamcli rejects the installed tree"; }

# --- The unpacked executable on a real X server -------------------------------
# shellcheck source=../../scripts/virtual-display.sh
source "$here/../../scripts/virtual-display.sh"
start_virtual_display 1024x768x24
trap 'cleanup; stop_virtual_display' EXIT

"$executable" >"$work/app.log" 2>&1 &
app_pid=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Tavolen$' | head -n 1) ||
    { cat "$work/app.log" >&2; fail "no window titled Tavolen appeared within 30 seconds"; }
kill -0 "$app_pid" 2>/dev/null || { cat "$work/app.log" >&2; fail "the executable ended after showing its window"; }
[ "$(xdotool getwindowpid "$window")" = "$app_pid" ] || fail "the Tavolen window belongs to another process"
echo "the unpacked $(basename "$executable") opened its window on $DISPLAY"

kill "$app_pid"
wait "$app_pid" 2>/dev/null || true
app_pid=""
echo "PASS"
