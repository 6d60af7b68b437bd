# shellcheck shell=bash
# Laying out a minimal Debian system in a folder and mounting into it what a
# system needs to run, shared by test-on-debian (a throwaway root) and
# in-debian (a persistent one). Sourced; needs root and debootstrap.

# The mirror this machine itself uses, else Debian's own.
debian_mirror() {
  local mirror
  mirror=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources \
      2>/dev/null | sed -n 's/^URIs: *\(\S*\/debian\)\/*$/\1/p; s/^deb \(\[[^]]*\] \)\?\(\S*\/debian\)\/* .*/\2/p' |
      sed -n 1p) || true
  echo "${mirror:-http://deb.debian.org/debian}"
}

# lay_out_debian RELEASE ROOT APT_CACHE [PACKAGE,...]: debootstrap's minimal
# variant of RELEASE in ROOT, the .debs kept in APT_CACHE, plus the packages
# named. TAVOLEN_IGNORE_EXPIRY=1 lets apt accept Release files past their
# Valid-Until date, for a mirror snapshot older than a week.
lay_out_debian() {
  local release=$1 root=$2 cache=$3 include=${4:-ca-certificates}
  local mirror script
  command -v debootstrap >/dev/null || {
    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap
  }
  mirror=$(debian_mirror)
  # A release newer than this debootstrap knows is laid out as unstable is.
  script=/usr/share/debootstrap/scripts/$release
  [ -e "$script" ] || script=/usr/share/debootstrap/scripts/sid
  mkdir -p "$cache"
  echo "debian-root: $release from $mirror into $root (cache $cache)" >&2
  debootstrap --variant=minbase --include="$include" --cache-dir="$cache" \
      "$release" "$root" "$mirror" "$script" >"$root.debootstrap.log" 2>&1 ||
    { tail -n 30 "$root.debootstrap.log" >&2; rm -f "$root.debootstrap.log"; return 1; }
  rm -f "$root.debootstrap.log"
  [ "${TAVOLEN_IGNORE_EXPIRY:-0}" != 1 ] ||
    echo 'Acquire::Check-Valid-Until "false";' >"$root/etc/apt/apt.conf.d/99tavolen-ignore-expiry"
  # Packages installed in a chroot start no services.
  printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
  chmod +x "$root/usr/sbin/policy-rc.d"
  chmod 755 "$root"  # it is the system's /: users other than root must get through it
}

# mount_debian ROOT APT_CACHE: the kernel's file systems, fresh /tmp, /run and
# /dev/shm, and the .deb cache as apt's.
mount_debian() {
  local root=$1 cache=$2
  cp /etc/resolv.conf "$root/etc/resolv.conf"
  mount -t proc proc "$root/proc"
  mount --bind /sys "$root/sys"
  mount -o remount,bind,ro "$root/sys"
  mount --bind /dev "$root/dev"
  mount --bind /dev/pts "$root/dev/pts"
  mount -t tmpfs -o mode=1777 tmpfs "$root/dev/shm"
  mount -t tmpfs -o mode=1777 tmpfs "$root/tmp"
  mount -t tmpfs -o mode=755 tmpfs "$root/run"
  mount --bind "$cache" "$root/var/cache/apt/archives"
}

# The command line that runs a shell command as root in ROOT with a clean
# environment: "${in_chroot[@]}" 'command'. Sets in_chroot for the caller.
chroot_command() {
  local root=$1
  # shellcheck disable=SC2034
  in_chroot=(env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
      HOME=/root LANG=C.UTF-8 TERM="${TERM:-dumb}" CI="${CI:-}"
      chroot "$root" /bin/sh -c)
}
