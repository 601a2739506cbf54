# Helpers for tests/e2e/*.sh: a scratch working directory with its own data/, zemblar run in it with
# its boxes answered and keys pressed through xdotool, zemblar-render on the committed test scene.
# Needs ZEMBLAR_BIN, ZEMBLAR_BUILD, ZEMBLAR_SOURCE and an X display.
set -euo pipefail
: "${ZEMBLAR_BIN:?}" "${ZEMBLAR_BUILD:?}" "${ZEMBLAR_SOURCE:?}"
export SDL_AUDIODRIVER=dummy MESA_SHADER_CACHE_DISABLE=true

[ -n "${DISPLAY:-}" ] || { echo "FAIL: no X display: run the end-to-end tests under xvfb-run (see the README)" >&2; exit 1; }

# One run per display at a time: two demos would take each other's keys and message boxes. This
# shell holds the display's lock (naming itself in the lock file) and runs the test as a child without
# it, so nothing the test starts (such as a killed demo's message box) holds it after the test.
if [ -z "${ZEMBLAR_E2E_LOCKED:-}" ]; then
  lock="/tmp/zemblar-e2e-display-${DISPLAY//[^0-9A-Za-z]/_}.lock"
  exec 9<> "$lock"
  flock -w 5 9 || { echo "FAIL: the display $DISPLAY is locked by $(cat "$lock")" >&2; exit 1; }
  echo "pid $$, test $(basename "$0")" > "$lock"
  ZEMBLAR_E2E_LOCKED=1 bash "$0" "$@" 9>&- # a failure ends this shell with its status (set -e)
  exit 0
fi

# An X server without -noreset (a plain xvfb-run) resets whenever its last client goes and drops
# connections made during the reset. Between a message box's short-lived client and the demo's
# own connection there may be no client at all; the demo's display then fails and SDL falls back
# to a driver without windows. One connection held for the whole test keeps the server up.
HOLD_PID=""
for _ in $(seq 50); do
  xprop -root -spy > /dev/null 2>&1 & HOLD_PID=$!
  sleep 0.1
  kill -0 "$HOLD_PID" 2>/dev/null && break
done
kill -0 "$HOLD_PID" 2>/dev/null || { echo "FAIL: cannot connect to the display $DISPLAY" >&2; exit 1; }

WORK=$(mktemp -d)
ZEMBLAR_PID=""
cleanup() {
  kill "$HOLD_PID" 2>/dev/null || true
  if [ -n "$ZEMBLAR_PID" ] && kill "$ZEMBLAR_PID" 2>/dev/null; then
    for _ in $(seq 50); do kill -0 "$ZEMBLAR_PID" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$ZEMBLAR_PID" 2>/dev/null || true
  fi
  rm -rf "$WORK"
}
trap cleanup EXIT
mkdir -p "$WORK/data/music" "$WORK/data/shaders"
cd "$WORK"

fail() {
  echo "FAIL: $*" >&2
  { tail -40 out.txt; tr '\r' '\n' < err.txt | tail -20; } >&2 2>/dev/null || true
  exit 1
}

# make_music SECONDS: a mono 440 Hz tone of that length as data/music/Tundrel.mp3.
make_music() {
  /usr/bin/python3 -c "import math, struct, sys; sys.stdout.buffer.write(b''.join(struct.pack('<h',
    int(6000 * math.sin(i * 2 * math.pi * 440 / 44100))) for i in range(int(44100 * $1))))" |
    lame --quiet -r -m m - data/music/Tundrel.mp3 2>/dev/null
}

source "$(dirname "${BASH_SOURCE[0]}")/windows.bash"
hold_key() { press_in "${WINDOW_TITLE:-Zemblar}" hold "$1"; } # WINDOW_TITLE: a window the script titled

# Starts zemblar and answers the start question: Escape (No, windowed) unless another key is given.
start_answered() {
  "$ZEMBLAR_BIN" > out.txt 2> err.txt & ZEMBLAR_PID=$!; START_NS=$(date +%s%N)
  press_in "Start Fullscreen?" key "${1:-Escape}"
}

# Waits up to 30 s for the N-th line of out.txt that matches the pattern, then prints it.
nth_line() {
  for _ in $(seq 300); do
    line=$(grep -E "$2" out.txt | sed -n "$1p" || true)
    [ -n "$line" ] && { echo "$line"; return 0; }
    kill -0 "$ZEMBLAR_PID" 2>/dev/null || fail "zemblar ended while waiting for '$2'"
    sleep 0.1
  done
  fail "no line $1 matching '$2'"
}

# Waits up to the given seconds for zemblar to end with status 0; its run time in ELAPSED_MS.
expect_clean_exit() {
  for _ in $(seq $(($1 * 10))); do
    kill -0 "$ZEMBLAR_PID" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$ZEMBLAR_PID" 2>/dev/null && fail "zemblar still running after $1 s"
  local status=0
  wait "$ZEMBLAR_PID" || status=$?
  ZEMBLAR_PID=""
  ELAPSED_MS=$(( ($(date +%s%N) - START_NS) / 1000000 ))
  [ "$status" -eq 0 ] || fail "exit status $status"
}

# data/ as the committed render test scene (tests/render/data).
use_render_scene() {
  local scene="$ZEMBLAR_SOURCE/tests/render/data"
  ln -s "$scene/meshes" data/meshes
  ln -s "$scene/textures" data/textures
  rmdir data/shaders && ln -s "$scene/shaders" data/shaders
  cp "$scene/vessikscript.txt" data/
}
# zemblar-render with these arguments: status in STATUS, output in out.txt/err.txt.
render() { STATUS=0; "$ZEMBLAR_BUILD/zemblar-render" "$@" > out.txt 2> err.txt || STATUS=$?; }
