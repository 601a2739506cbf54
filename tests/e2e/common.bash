# Helpers for the end-to-end tests: a scratch working directory with its own data/, the real
# zemblar started in it, and a user answering its message boxes and pressing keys through xdotool.
# Sourced by the tests/e2e/*.sh scripts; expects ZEMBLAR_BIN and a running X display (DISPLAY).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/music.bash"

: "${ZEMBLAR_BIN:?set ZEMBLAR_BIN to the zemblar executable}"
export SDL_AUDIODRIVER=dummy
export MESA_SHADER_CACHE_DISABLE=true

# One end-to-end run per display at a time: the tests move the keyboard focus and press keys, so
# two demos on one display would take each other's keys and message boxes.
exec 9> "/tmp/zemblar-e2e-display-${DISPLAY//[^0-9A-Za-z]/_}.lock"
flock 9

WORK=$(mktemp -d)
ZEMBLAR_PID=""
cleanup() {
  if [ -n "$ZEMBLAR_PID" ] && kill -0 "$ZEMBLAR_PID" 2>/dev/null; then
    kill "$ZEMBLAR_PID" 2>/dev/null || true
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
  echo "--- output ---" >&2; cat "$WORK/out.txt" >&2 2>/dev/null || true
  echo "--- errors ---" >&2; cat "$WORK/err.txt" >&2 2>/dev/null || true
  echo "--- windows ---" >&2; xwininfo -root -tree | grep '"' >&2 || true
  exit 1
}


make_shader() {
  printf '#version 330 compatibility\nin vec3 in_position;\nvoid main() { gl_Position = gl_ModelViewProjectionMatrix * vec4(in_position, 1.0); }\n' > data/shaders/plain.vert
  printf '#version 330 compatibility\nout vec4 colour;\nvoid main() { colour = vec4(1.0); }\n' > data/shaders/plain.frag
}

start_zemblar() {
  "$ZEMBLAR_BIN" > "$WORK/out.txt" 2> "$WORK/err.txt" &
  ZEMBLAR_PID=$!
  START_NS=$(date +%s%N)
}

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

# Gives the window the keyboard focus. A window that exists but is not mapped yet refuses the focus
# (BadMatch), so this tries again for a few seconds, as a user would click again.
focus_window() {
  for _ in $(seq 50); do
    xdotool windowfocus "$1" 2>/dev/null && return 0
    sleep 0.1
  done
  fail "cannot focus window $1"
}

# Answers a message box the way a user would: focus it and press the key (Return = Yes/OK,
# Escape = No).
answer_box() {
  local title=$1 key=$2 id
  id=$(window_titled "$title") || fail "no message box titled '$title'"
  focus_window "$id"
  sleep 0.1
  xdotool key "$key"
}

# Holds a key down on the demo window long enough for the main loop to see it held.
hold_key() {
  local id
  id=$(window_titled "Zemblar") || fail "no Zemblar window"
  focus_window "$id"
  sleep 0.1
  xdotool keydown "$1"
  sleep 0.3
  xdotool keyup "$1" 2>/dev/null || true
}

# Waits (up to the given seconds) for zemblar to end and stores its exit status in STATUS.
wait_exit() {
  local limit=$1
  for _ in $(seq $((limit * 10))); do
    kill -0 "$ZEMBLAR_PID" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$ZEMBLAR_PID" 2>/dev/null && fail "zemblar still running after ${limit}s"
  set +e
  wait "$ZEMBLAR_PID"
  STATUS=$?
  set -e
  ZEMBLAR_PID=""
  ELAPSED_MS=$(( ($(date +%s%N) - START_NS) / 1000000 ))
}

# Sends the demo window the close request of a window manager's close button.
close_demo_window() {
  local id
  id=$(window_titled "Zemblar") || fail "no Zemblar window"
  /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/close_window.py" "$id"
}

# The line numbers (1-based) in the output of lines equal to the given text; fails when absent.
line_of() {
  local n
  n=$(grep -n -x -F -- "$1" "$WORK/out.txt" | head -1 | cut -d: -f1)
  [ -n "$n" ] || fail "missing output line: $1"
  echo "$n"
}

# Starts zemblar and answers the start question: Escape (No, windowed) unless another key is given.
start_answered() {
  start_zemblar
  answer_box "Start Fullscreen?" "${1:-Escape}"
}

# Waits up to the given seconds for zemblar to end; fails unless its status is 0.
expect_clean_exit() {
  wait_exit "$1"
  [ "$STATUS" -eq 0 ] || fail "exit status $STATUS"
}

# Fails unless every given output line is there, each after the one before it.
expect_in_order() {
  local previous=0 n line
  for line in "$@"; do
    n=$(line_of "$line")
    [ "$n" -gt "$previous" ] || fail "out of order: $line"
    previous=$n
  done
}
