#!/usr/bin/env bash
# Runs the README's test command on a fresh, minimal Debian 12: builds a bookworm root with
# debootstrap (variant minbase, from the mirror this machine's apt uses), copies the committed
# project (git archive of HEAD) and ../shared beside it into the root, and runs
# `./tools/setup.sh && ./tools/test.sh` there under chroot. Needs root and debootstrap.
#
#   sudo tools/fresh-check.sh [ROOT]
#
# ROOT (default: zemblar-fresh beside the repository) must not exist or be empty; it is removed at
# the end unless ZEMBLAR_FRESH_KEEP=1. The command's own environment variables (ZEMBLAR_SKIP_FUZZ,
# ZEMBLAR_SKIP_SANITIZE, ZEMBLAR_FUZZ_RUNS, JOBS) are passed in. The exit status is the test
# command's. The mounts live in a mount namespace of their own, so none outlives the run, and the
# tests run in a network namespace of their own, so their Xvfb displays cannot clash with the host's.
set -euo pipefail
SRC=$(cd "$(dirname "$0")/.." && pwd)
ROOT=$(realpath -m "${1:-$SRC/../zemblar-fresh}")

[ "$(id -u)" -eq 0 ] || { echo "fresh-check: run as root (debootstrap and chroot need it)" >&2; exit 2; }
command -v debootstrap >/dev/null || { echo "fresh-check: debootstrap is not installed" >&2; exit 2; }
if [ -e "$ROOT" ] && [ -n "$(ls -A "$ROOT")" ]; then
  echo "fresh-check: $ROOT exists and is not empty" >&2; exit 2
fi
case "$ROOT" in "$SRC" | "$SRC"/*) echo "fresh-check: the root must lie outside the repository" >&2; exit 2 ;; esac

# The first Debian mirror apt is set up with (deb822 .sources or one-line sources.list).
mirror=$(cat /etc/apt/sources.list.d/*.sources 2>/dev/null |
  awk '/^URIs:/ { for (i = 2; i <= NF; i++) if ($i ~ /\/debian\/?$/) { print $i; exit } }')
[ -n "$mirror" ] || mirror=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
  awk '$1 == "deb" { for (i = 2; i <= NF; i++) if ($i ~ /\/debian\/?$/) { print $i; exit } }')
mirror=${mirror:-http://deb.debian.org/debian}

start=$(date +%s)
elapsed() { echo "$(( $(date +%s) - start )) s"; }

mounted_below() { findmnt -rn -o TARGET | awk -v r="$ROOT/" 'index($0 "/", r) == 1' | grep -q .; }
cleanup() {
  local status=$?
  if [ "${ZEMBLAR_FRESH_KEEP:-0}" = 1 ]; then
    echo "=== fresh-check: root kept in $ROOT"
  elif mounted_below; then
    echo "fresh-check: something is still mounted under $ROOT; not removing it" >&2
  else
    rm -rf --one-file-system "$ROOT"
  fi
  exit "$status"
}
trap cleanup EXIT

echo "=== fresh-check: debootstrap bookworm (minbase) from $mirror into $ROOT"
mkdir -p "$ROOT"
debootstrap --variant=minbase bookworm "$ROOT" "$mirror" > "$ROOT.debootstrap.log" 2>&1 ||
  { tail -20 "$ROOT.debootstrap.log" >&2; exit 1; }
rm -f "$ROOT.debootstrap.log"
echo "=== fresh-check: base system ready after $(elapsed)"

# Same suites as a normal Debian 12 install; packages never start services inside the root.
cat > "$ROOT/etc/apt/sources.list" <<EOF
deb $mirror bookworm main
deb $mirror bookworm-updates main
EOF
printf '#!/bin/sh\nexit 101\n' > "$ROOT/usr/sbin/policy-rc.d"
chmod +x "$ROOT/usr/sbin/policy-rc.d"
cp -L /etc/resolv.conf "$ROOT/etc/resolv.conf"

mkdir -p "$ROOT/src/zemblar"
git -C "$SRC" archive HEAD | tar -x -C "$ROOT/src/zemblar"
[ -d "$SRC/../shared" ] && cp -rL "$SRC/../shared" "$ROOT/src/shared"

# The release stage downloads Debian's sources and a test root the first time (then cached); the
# tests run without network, so those downloads are made first. Inside a private mount namespace:
# mount what the tests need, run the command, unmount.
set +e
passthrough=()
for v in ZEMBLAR_SKIP_FUZZ ZEMBLAR_SKIP_SANITIZE ZEMBLAR_SKIP_RELEASE ZEMBLAR_FUZZ_RUNS JOBS; do
  [ -n "${!v:-}" ] && passthrough+=("$v=${!v}")
done
unshare --mount --propagation private -- bash -s "$ROOT" "${passthrough[@]}" <<'INNER'
set -u
ROOT=$1; shift
trap 'umount -R -l "$ROOT/dev" "$ROOT/sys" "$ROOT/proc" 2>/dev/null' EXIT
mount -t proc proc "$ROOT/proc" && mount -t sysfs sys "$ROOT/sys" && mount --rbind /dev "$ROOT/dev" || exit 1
env -i HOME=/root TERM=dumb LANG=C.UTF-8 PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@" \
  chroot "$ROOT" /bin/bash -c 'cd /src/zemblar && ./tools/setup.sh &&
    { [ "${ZEMBLAR_SKIP_RELEASE:-0}" = 1 ] || { ./tools/release.sh && tests/release/check_release.sh prepare; }; } &&
    unshare --net ./tools/test.sh'
INNER
status=$?
set -e
echo "=== fresh-check: $( [ $status -eq 0 ] && echo passed || echo "FAILED (status $status)" ) after $(elapsed)"
exit $status
