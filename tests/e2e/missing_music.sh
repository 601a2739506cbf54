# Without the music file the "BASS" box says so; after OK the demo runs on the wall clock and its
# events still fire in order, each line written as it fires. Then the window manager's close request
# ends it with status 0, long before its END.
source "$(dirname "$0")/common.bash"
printf -- '0.2 x first\n0.9 x second\n30 x END\n' > data/vessikscript.txt
start_answered
answer_box "BASS" Return
window=$(window_titled "Zemblar") || fail "no demo window"
# Each event's line reaches the output as it fires, while the demo still runs.
for _ in $(seq 150); do grep -q "Doing: 0.9 x second" out.txt && break; sleep 0.2; done
grep -q "Doing: 0.9 x second" out.txt || fail "the events' lines did not reach the output while the demo ran"
/usr/bin/python3 "$(dirname "$0")/close_window.py" "$window"
expect_clean_exit 10
[ "$(grep '^Doing:' out.txt)" = "$(printf 'Doing: 0.2 x first\nDoing: 0.9 x second')" ] ||
  fail "the events did not run once each in order, or END ran although the window was closed first"
echo "ok"
