#!/usr/bin/env bash
# Checks the Debian package as Debian itself would: lintian accepts it, the
# packaged executable carries every protection of a Debian build, the changelog
# belongs to this package and both manual pages render without a warning.
#
# Usage: deb_passes_debian_checks.sh CPACK CPACK_CONFIG COMPILE_COMMANDS
set -euo pipefail

cpack=$1
cpack_config=$2
compile_commands=$3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# -B keeps cpack's staging and output out of the build tree (see deb_installs_and_starts.sh).
"$cpack" --config "$cpack_config" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; fail "cpack did not build the package"; }
debs=("$work"/out/*.deb)
deb=${debs[0]}
[ ${#debs[@]} -eq 1 ] && [ -f "$deb" ] || fail "cpack did not make exactly one .deb"

# --- lintian ------------------------------------------------------------------
# Errors and warnings fail lintian itself; of the information tags, these two
# name what this build is meant to have fixed.
lintian --tag-display-limit 0 -I --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 ||
    { cat "$work/lintian.log" >&2; fail "lintian rejects the package"; }
cat "$work/lintian.log"
! grep -E 'binary-has-unneeded-section|hardening-no-bindnow' "$work/lintian.log" ||
    fail "lintian still finds an unneeded section or no bind-now"

root="$work/root"
dpkg -x "$deb" "$root"

# --- hardening ----------------------------------------------------------------
# bookworm's hardening-check says "no" to two protections that were asked for:
# fortify, because no call in the code is one the compiler can check at run
# time (memcpy, memmove and memset are called only on sizes it cannot bound,
# and stay plain: "only unprotected functions found"), and control-flow
# protection, because glibc's start-up objects (Scrt1.o, crti.o, crtn.o) carry
# no CET mark, so the linker drops the mark that our objects carry. Those two are
# checked on the compile commands instead, every one of which must ask for them,
# and with them stack clash protection, which hardening-check calls "unknown"
# when no function has a stack frame large enough to need a probe.
# Debian 13's hardening-check also looks for branch protection, which is arm64's
# (-mbranch-protection, pointer authentication and BTI): elsewhere no compiler can
# give it, and the check can only say "no", so it is left out there.
skipped=(--nofortify --nocfprotection)
if [ "$(dpkg --print-architecture)" != arm64 ] && hardening-check --help 2>&1 | grep -q -- --nobranchprotection; then
    skipped+=(--nobranchprotection)
fi
hardening-check "${skipped[@]}" "$root/usr/bin/tavolen" ||
    fail "hardening-check finds a protection missing"
commands=$(grep -c '"command":' "$compile_commands")
protected=$(grep '"command":' "$compile_commands" | grep -- '-D_FORTIFY_SOURCE=2' |
    grep -- '-fstack-clash-protection' | grep -c -- '-fcf-protection') || true
[ "$commands" -gt 0 ] && [ "$protected" -eq "$commands" ] ||
    fail "only $protected of $commands compile commands ask for fortify, stack clash and control-flow protection"

# --- the changelog and the manual pages ---------------------------------------
changelog="$root/usr/share/doc/tavolen/changelog.gz"
for field in Version Maintainer; do
    [ "$(zcat "$changelog" | dpkg-parsechangelog -l - -S "$field")" = "$(dpkg-deb --field "$deb" "$field")" ] ||
        fail "the changelog's $field is not the package's"
done
for page in man/man1/tavolen.1.gz man/es/man1/tavolen.1.gz; do
    [ -f "$root/usr/share/$page" ] || fail "no manual page /usr/share/$page"
    messages=$(zcat "$root/usr/share/$page" | groff -ww -z -man 2>&1) || fail "groff fails on $page"
    [ -z "$messages" ] || fail "groff warns about $page: $messages"
done
echo "PASS"
