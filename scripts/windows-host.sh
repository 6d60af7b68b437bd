# shellcheck shell=bash
# The Windows build needs Debian 13's qt6-base source and host Qt tools (6.8),
# its MinGW-w64 (GCC 14) and its Wine 10. On an older Debian the scripts of the
# Windows build run inside a Debian 13 system that scripts/in-debian keeps.
# Sourced by them: `in_debian_13_if_older "$0" "$@"` starts the calling script
# anew in there, and returns on Debian 13 and later.
in_debian_13_if_older() {
  local id version
  id=$(. /etc/os-release && echo "${ID:-}")
  version=$(. /etc/os-release && echo "${VERSION_ID:-}")
  # Testing and unstable carry no version: they are newer.
  if [ "$id" = debian ] && [ -n "$version" ] && [ "${version%%.*}" -lt 13 ]; then
    exec "$(dirname "$1")/in-debian" trixie "$@"
  fi
}
