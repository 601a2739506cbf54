# Finding a program's windows and pressing keys in them through xdotool, for the end-to-end tests
# (common.bash) and the release check (tests/release/check_release.sh). The caller defines `fail`
# and sets ZEMBLAR_PID to the process whose windows are waited for (a wait ends when it ends);
# WINDOW_WAIT is how many seconds a window is waited for (default 60: a loaded machine is slow).

# Id of the top-level window with exactly this title.
window_titled() {
  local title=$1 id=""
  for _ in $(seq $(( ${WINDOW_WAIT:-60} * 10 ))); do
    id=$(xwininfo -root -tree | grep -F " \"$title\": " | awk '{ print $1; exit }')
    [ -n "$id" ] && { echo "$id"; return 0; }
    kill -0 "$ZEMBLAR_PID" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

# press_in TITLE key|hold KEY: focuses the window (retried: an unmapped one refuses), then presses
# the key (Return = Yes/OK, Escape = No) or holds it long enough for the main loop to see it held.
press_in() {
  local title=$1 mode=$2 key=$3 id tries=0
  id=$(window_titled "$title") || fail "no window titled '$title'"
  until xdotool windowfocus "$id" 2>/dev/null; do
    tries=$((tries + 1))
    [ "$tries" -lt 50 ] || fail "cannot focus window '$title'"
    sleep 0.1
  done
  sleep 0.2
  if [ "$mode" = hold ]; then
    xdotool keydown "$key"; sleep 0.3; xdotool keyup "$key" 2>/dev/null || true
  else
    xdotool key "$key"
  fi
}
