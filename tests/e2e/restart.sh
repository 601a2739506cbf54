# Fullscreen chosen at the start question (Return = Yes); the first event's line is out while the
# demo runs. F5, then F1 (which also flips to windowed), rebuild the window and the Demo: the script
# is listed and its start-up events run again, and the restarted demo shows the same as a fresh one
# (its effects are created anew). Holding Escape then ends the demo with status 0.
# Then a copy of the player beside data/, started from another folder with --window: no question,
# the demo found beside the executable, and Alt-F4 ends it with status 0.
source "$(dirname "$0")/common.bash"
make_music 5
printf -- '-1 box new demoeffect\n-1 SCENE append box\n0.2 box scale 2\n' > data/vessikscript.txt
start_answered Return
for _ in $(seq 300); do # a display without a 1280x720 mode makes the demo ask to run windowed instead
  grep -qx 'Doing: 0.2 box scale 2' out.txt && break
  ! xwininfo -root -tree | grep -qF '"OpenGL Rules": ' || fail "no 1280x720 mode (xvfb-run -s \"-screen 0 1280x720x24\")"
  sleep 0.1
done
nth_line 1 '^Doing: 0.2 box scale 2$' > /dev/null # written as it fires, while the demo runs
for key in F5 F1; do
  first=$(window_titled "Zemblar") || fail "no demo window"
  sleep 1
  hold_key "$key"
  for _ in $(seq 100); do
    second=$(window_titled "Zemblar") || fail "demo ended on $key"
    [ "$second" != "$first" ] && break
    sleep 0.1
  done
  [ "$second" != "$first" ] || fail "$key did not replace the window"
done
sleep 1
hold_key Escape
expect_clean_exit 10
# At least one restart per key (a key still held as the new window opens does not count there until
# released), and the event runs once per start.
[ "$(grep -c -x -- '-1 box new demoeffect -1.000000' out.txt)" -ge 3 ] || fail "script not listed again"
[ "$(grep -c -x 'Doing: 0.2 box scale 2' out.txt)" -ge 3 ] || fail "event did not run again after the restarts"

cp "$ZEMBLAR_BIN" ./player && mkdir elsewhere
(cd elsewhere && exec ../player --window) > out.txt 2> err.txt & ZEMBLAR_PID=$!; START_NS=$(date +%s%N)
nth_line 1 '^Doing: 0.2 box scale 2$' > /dev/null
press_in "Zemblar" hold alt+F4
expect_clean_exit 10
echo "ok"
