# shellcheck shell=bash
# Installing what a script needs from the distribution's packages, shared by
# install-deps, install-deps-windows and build-deb. Sourced. A package list's
# entry "a|b" is satisfied by either package, and the first one the archive
# has is installed. Uses sudo when not root.

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

# find_missing ENTRY...: sets missing to the entries none of whose packages is
# installed. Liberation Sans Narrow, Arial Narrow's metric twin, is part of
# fonts-liberation up to 1.07 (Debian 12) and a package of its own beside
# fonts-liberation 2 (Debian 13): it is missing unless its face is installed.
find_missing() {
  local entry p found
  missing=()
  for entry in "$@"; do
    found=0
    for p in ${entry//|/ }; do installed "$p" && found=1 && break; done
    [ "$found" -eq 1 ] || missing+=("$entry")
  done
  dpkg-query -S '*/LiberationSansNarrow-Bold.ttf' >/dev/null 2>&1 ||
    missing+=('fonts-liberation-sans-narrow|fonts-liberation')
}

# as_root COMMAND...: the command as root, through sudo when not root.
as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  elif command -v sudo >/dev/null 2>&1; then
    sudo "$@"
  else
    echo "${0##*/}: need root or sudo for: $*" >&2
    return 1
  fi
}

# apt_get ARG...: apt-get as root, without questions (through sudo too), waiting
# for another apt's lock rather than failing.
apt_get() { as_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=900 "$@"; }

# install_missing: the entries find_missing left in missing, after updating
# the package lists. Says what it installs.
install_missing() {
  local entry p pick chosen=()
  [ ${#missing[@]} -gt 0 ] || return 0
  apt_get update -qq
  for entry in "${missing[@]}"; do
    pick=${entry%%|*}
    for p in ${entry//|/ }; do
      if apt-cache show "$p" >/dev/null 2>&1; then pick=$p; break; fi
    done
    chosen+=("$pick")
  done
  echo "${0##*/}: installing ${chosen[*]}" >&2
  apt_get install -y -qq --no-install-recommends "${chosen[@]}"
}
