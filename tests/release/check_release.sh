#!/usr/bin/env bash
# Plays the two party archives as an organiser would, under the X display in $DISPLAY (Xvfb):
#   linux    NAME-linux-x86_64.tar.gz unpacked in a minimal Debian 12 root (debootstrap minbase
#            with Mesa's GL and the X client libraries, no SDL, SDL_mixer, GLEW or compiler),
#            mounted read-only and started from another folder, without a sound device;
#   windows  NAME-windows-x64.zip unpacked, mounted read-only and run under Wine from another
#            folder, with SDL's dummy sound driver.
# Each must ask the start question, draw the show (a grab of its window is not blank), print the
# event listing line by line on standard output while it runs, and end with status 0 on Escape.
#
#   tests/release/check_release.sh linux|windows ARCHIVE
#   tests/release/check_release.sh prepare     (only makes the Debian root: the one step that
#                                               needs the network, for runs without it)
#
# Needs root (chroot and read-only bind mounts in a mount namespace of their own), debootstrap,
# wine, xdotool, xwininfo and xwd. The root and the Wine prefix are cached under
# ${ZEMBLAR_CACHE:-~/.cache/zemblar}. KEEP=1 keeps the scratch folder (the player's output) for a look.
set -euo pipefail
PLATFORM=${1:-}
CACHE=${ZEMBLAR_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/zemblar}
[ "$(id -u)" -eq 0 ] || { echo "check_release: run as root (chroot, mounts)" >&2; exit 2; }
if [ "$PLATFORM" != prepare ]; then
  ARCHIVE=$(realpath "$2")
  NAME=$(basename "$ARCHIVE" | sed -E 's/-(linux-x86_64\.tar\.gz|windows-x64\.zip)$//')
  : "${DISPLAY:?an X display (xvfb-run) is needed}"
fi

WORK=$(mktemp -d)
ZEMBLAR_PID=""
cleanup() {
  [ -n "$ZEMBLAR_PID" ] && kill "$ZEMBLAR_PID" 2>/dev/null
  [ "$PLATFORM" = windows ] && WINEPREFIX=$PREFIX wineserver -k 2>/dev/null
  [ -n "${KEEP:-}" ] && { echo "kept $WORK" >&2; return; }
  rm -rf "$WORK"
}
trap cleanup EXIT
fail() {
  echo "FAIL ($PLATFORM): $*" >&2
  { echo "--- its standard output (end):"; tail -n 20 "$WORK/out.txt"
    echo "--- its standard error (end):"; tail -n 20 "$WORK/err.txt"; } >&2 || true
  exit 1
}

# --- Waiting for windows, pressing keys, grabbing frames --------------------------------------
# A player is given up to 120 s to show a window.
WINDOW_WAIT=120
source "$(dirname "$0")/../e2e/windows.bash"
# The number of different colours in the window (sampled on every other pixel and row): a drawn
# show has hundreds, an undrawn or cleared window one or two.
colours_in() {
  xwd -id "$1" -silent | /usr/bin/python3 -c '
import struct, sys
data = sys.stdin.buffer.read()
f = struct.unpack(">25I", data[:100])
header, width, height, bpp, line, ncolors = f[0], f[4], f[5], f[11], f[12], f[19]
pixels = data[header + 12 * ncolors:][: line * height]
step = bpp // 8
print(len({pixels[y * line + x * step: y * line + x * step + 3] for y in range(0, height, 2) for x in range(0, width, 2)}))'
}
# Waits up to 60 s for a line of out.txt that matches.
wait_output() {
  for _ in $(seq 600); do
    grep -qE "$1" "$WORK/out.txt" && return 0
    kill -0 "$ZEMBLAR_PID" 2>/dev/null || fail "ended while waiting for '$1' on standard output"
    sleep 0.1
  done
  fail "'$1' never reached standard output"
}

# The organiser's run once the player started: the start question (No: a window), for Linux the
# "BASS error" box of a machine without sound, the show drawn, the listing streamed, Escape.
play_and_quit() {
  # The window is titled by the script's TITLE line, "Zemblar" without one.
  local title id colours
  title=$(sed -n '/^TITLE[ ,]/{s/^TITLE[ ,]*//;p;q}' "$WORK/unpacked/$NAME/data/vessikscript.txt" | tr -d '\r')
  title=${title:-Zemblar}
  press_in "Start Fullscreen?" key Escape
  [ "$PLATFORM" = linux ] && press_in "BASS" key Return
  id=$(window_titled "$title") || fail "no demo window titled '$title'"
  # A "Doing:" line of an event after the start shows up while the demo runs: standard output is
  # not held back in a buffer.
  wait_output '^Doing: [0-9]'
  sleep 3
  colours=$(colours_in "$id")
  [ "$colours" -ge 50 ] || fail "the demo window is blank ($colours colours)"
  echo "$PLATFORM: window drawn ($colours colours)"
  press_in "$title" hold Escape
  local status=0
  for _ in $(seq 100); do kill -0 "$ZEMBLAR_PID" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$ZEMBLAR_PID" 2>/dev/null && fail "still running 10 s after Escape"
  wait "$ZEMBLAR_PID" || status=$?
  ZEMBLAR_PID=""
  [ "$status" -eq 0 ] || fail "exit status $status after Escape"
  # Listing lines end "<line> <time>" (with CR LF on Windows).
  grep -qE " -?[0-9]+\.[0-9]{6}"$'\r'"?\$" "$WORK/out.txt" || fail "no event listing on standard output"
}

# The mounts below are made in a mount namespace of their own and kept from the one it came from
# ("mount --make-rprivate /"). unshare cannot make / private itself where / is no mount point (a
# chroot such as tools/fresh-check.sh's, which runs everything in a private namespace already).

# --- Linux: a minimal Debian 12 root ----------------------------------------------------------
# Mesa's GL and the X client libraries a desktop has; nothing that the bundle brings itself.
ROOT_PACKAGES=libgl1,libgl1-mesa-dri,libx11-6,libxext6,libxcursor1,libxi6,libxrandr2,libxfixes3,libxss1,libxinerama1,libxkbcommon0
test_root() {
  local root=$CACHE/testroot-bookworm-r1 mirror
  if [ ! -f "$root/.ready" ]; then
    rm -rf --one-file-system "$root" && mkdir -p "$root"
    mirror=$({ cat /etc/apt/sources.list.d/*.sources 2>/dev/null || true; } |
      awk '/^URIs:/ { for (i = 2; i <= NF; i++) if ($i ~ /\/debian\/?$/) { print $i; exit } }')
    [ -n "$mirror" ] || mirror=$({ cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null || true; } |
      awk '$1 == "deb" { for (i = 2; i <= NF; i++) if ($i ~ /\/debian\/?$/) { print $i; exit } }')
    echo "linux: debootstrap a minimal bookworm root into $root (once)" >&2
    debootstrap --variant=minbase --include="$ROOT_PACKAGES" bookworm "$root" "${mirror:-http://deb.debian.org/debian}" \
      > "$root.log" 2>&1 || { tail -20 "$root.log" >&2; exit 1; }
    touch "$root/.ready"
  fi
  # The point of the root: none of the libraries the bundle brings, and no compiler.
  if compgen -G "$root/usr/lib/x86_64-linux-gnu/libSDL2*" >/dev/null ||
    compgen -G "$root/usr/lib/x86_64-linux-gnu/libGLEW*" >/dev/null || [ -e "$root/usr/bin/gcc" ]; then
    fail "the test root has SDL, GLEW or a compiler"
  fi
  echo "$root"
}

run_linux() {
  local root
  root=$(test_root)
  mkdir -p "$WORK/unpacked" && tar -xzf "$ARCHIVE" -C "$WORK/unpacked"
  [ -x "$WORK/unpacked/$NAME/$NAME" ] || fail "the archive has no $NAME/$NAME"
  : > "$WORK/out.txt"
  # In a mount namespace of its own: /proc (the player finds its folder through it), /dev, the X
  # socket and its authority file, and the release read-only; then the player from /tmp, with a
  # clean environment.
  unshare --mount --propagation unchanged -- bash -c '
    set -e
    root=$1 release=$2
    mount --make-rprivate / 2>/dev/null || true
    mount -t proc proc "$root/proc"
    mount --rbind /dev "$root/dev"
    mkdir -p "$root/tmp/.X11-unix" "$root/opt/release"
    mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
    mount --bind -o ro "$release" "$root/opt/release"
    touch "$root/tmp/.Xauthority"
    [ -z "${XAUTHORITY:-}" ] || mount --bind "$XAUTHORITY" "$root/tmp/.Xauthority"
    exec env -i HOME=/root PATH=/usr/bin:/bin DISPLAY="$DISPLAY" XAUTHORITY=/tmp/.Xauthority MESA_SHADER_CACHE_DISABLE=true \
      /usr/sbin/chroot "$root" /bin/sh -c "cd /tmp && exec /opt/release/$3/$3"' \
    _ "$root" "$WORK/unpacked" "$NAME" > "$WORK/out.txt" 2> "$WORK/err.txt" &
  ZEMBLAR_PID=$!
  play_and_quit
}

# --- Windows: Wine ---------------------------------------------------------------------------
run_windows() {
  PREFIX=$CACHE/wine-$(wine --version 2>/dev/null | tr -c 'A-Za-z0-9.\n' '_')
  export WINEPREFIX=$PREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" SDL_AUDIODRIVER=dummy
  # The first run makes the prefix (about 10 s); no Mono or Gecko installer is offered.
  [ -f "$PREFIX/system.reg" ] || { echo "windows: making the Wine prefix $PREFIX (once)"; wineboot -i >/dev/null 2>&1; }
  mkdir -p "$WORK/unpacked" "$WORK/elsewhere"
  (cd "$WORK/unpacked" && unzip -q "$ARCHIVE")
  [ -f "$WORK/unpacked/$NAME/$NAME.exe" ] || fail "the archive has no $NAME/$NAME.exe"
  : > "$WORK/out.txt"
  unshare --mount --propagation unchanged -- bash -c '
    mount --make-rprivate / 2>/dev/null || true
    mount --bind -o ro "$1" "$1" && cd "$2" && exec wine "$1/$3/$3.exe"' \
    _ "$WORK/unpacked" "$WORK/elsewhere" "$NAME" > "$WORK/out.txt" 2> "$WORK/err.txt" &
  ZEMBLAR_PID=$!
  play_and_quit
}

case "$PLATFORM" in
prepare) test_root >/dev/null; exit 0 ;;
linux) run_linux ;;
windows) run_windows ;;
*) echo "usage: check_release.sh linux|windows ARCHIVE, or check_release.sh prepare" >&2; exit 2 ;;
esac
echo "$PLATFORM: $(basename "$ARCHIVE") passed"
