# Helpers for the end-to-end tests: a scratch working directory with its own data/, the real
# zemblar started in it with a user answering its message boxes and pressing keys through xdotool,
# and zemblar-render run on the committed render test scene. Sourced by the tests/e2e/*.sh scripts;
# expects ZEMBLAR_BIN, ZEMBLAR_BUILD, ZEMBLAR_SOURCE and a running X display (DISPLAY).
set -euo pipefail
: "${ZEMBLAR_BIN:?set ZEMBLAR_BIN to the zemblar executable}"
: "${ZEMBLAR_BUILD:?set ZEMBLAR_BUILD to the build directory}"
: "${ZEMBLAR_SOURCE:?set ZEMBLAR_SOURCE to the repository root}"
export SDL_AUDIODRIVER=dummy MESA_SHADER_CACHE_DISABLE=true

# One end-to-end run per display at a time: the tests move the keyboard focus and press keys, so
# two demos on one display would take each other's keys and message boxes.
exec 9> "/tmp/zemblar-e2e-display-${DISPLAY//[^0-9A-Za-z]/_}.lock"
flock 9

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
  echo "--- output (end) ---" >&2; tail -40 out.txt >&2 2>/dev/null || true
  echo "--- errors (end) ---" >&2; tr '\r' '\n' < err.txt 2>/dev/null | tail -20 >&2 || true
  echo "--- windows ---" >&2; xwininfo -root -tree | grep '"' >&2 || true
  exit 1
}

# make_music SECONDS: a mono 440 Hz tone of that length as data/music/Tundrel.mp3.
make_music() {
  /usr/bin/python3 -c "import math, struct, sys; sys.stdout.buffer.write(b''.join(struct.pack('<h',
    int(6000 * math.sin(i * 2 * math.pi * 440 / 44100))) for i in range(int(44100 * $1))))" |
    lame --quiet -r -m m - data/music/Tundrel.mp3 2>/dev/null
}

start_zemblar() { "$ZEMBLAR_BIN" > out.txt 2> err.txt & ZEMBLAR_PID=$!; START_NS=$(date +%s%N); }

# Id of the top-level window with exactly this title, waiting up to 60 s for it (a loaded machine
# may take long to map a window).
window_titled() {
  local title=$1 id=""
  for _ in $(seq 600); do
    id=$(xwininfo -root -tree | grep -F " \"$title\": " | awk '{ print $1; exit }')
    [ -n "$id" ] && { echo "$id"; return 0; }
    kill -0 "$ZEMBLAR_PID" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

# Gives a window the keyboard focus, then presses a key (Return = Yes/OK, Escape = No) or holds
# it long enough for the main loop to see it held. A window that exists but is not mapped yet
# refuses the focus (BadMatch), so focusing is tried again for a few seconds, as a user would click
# again.
press_in() {
  local title=$1 mode=$2 key=$3 id tries=0
  id=$(window_titled "$title") || fail "no window titled '$title'"
  until xdotool windowfocus "$id" 2>/dev/null; do
    tries=$((tries + 1))
    [ "$tries" -lt 50 ] || fail "cannot focus window '$title'"
    sleep 0.1
  done
  sleep 0.1
  if [ "$mode" = hold ]; then
    xdotool keydown "$key"; sleep 0.3; xdotool keyup "$key" 2>/dev/null || true
  else
    xdotool key "$key"
  fi
}
answer_box() { press_in "$1" key "$2"; }
hold_key() { press_in "Zemblar" hold "$1"; }

# Starts zemblar and answers the start question: Escape (No, windowed) unless another key is given.
start_answered() { start_zemblar; answer_box "Start Fullscreen?" "${1:-Escape}"; }

# Waits (up to the given seconds) for zemblar to end and stores its exit status in STATUS.
wait_exit() {
  for _ in $(seq $(($1 * 10))); do
    kill -0 "$ZEMBLAR_PID" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$ZEMBLAR_PID" 2>/dev/null && fail "zemblar still running after $1 s"
  STATUS=0
  wait "$ZEMBLAR_PID" || STATUS=$?
  ZEMBLAR_PID=""
  ELAPSED_MS=$(( ($(date +%s%N) - START_NS) / 1000000 ))
}

# Waits up to the given seconds for zemblar to end; fails unless its status is 0.
expect_clean_exit() { wait_exit "$1"; [ "$STATUS" -eq 0 ] || fail "exit status $STATUS"; }

# A working directory whose data/ is the committed render test scene (tests/render/data).
use_render_scene() {
  local scene="$ZEMBLAR_SOURCE/tests/render/data"
  ln -s "$scene/meshes" data/meshes
  rmdir data/shaders && ln -s "$scene/shaders" data/shaders
  cp "$scene/vessikscript.txt" data/
}

# Runs zemblar-render with the given arguments; its status goes to STATUS, output to out.txt/err.txt.
render() { STATUS=0; "$ZEMBLAR_BUILD/zemblar-render" "$@" > out.txt 2> err.txt || STATUS=$?; }
