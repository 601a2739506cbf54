# Without the music file the "BASS" box says so; after OK the demo runs on the wall clock and its
# events still fire in order. Then the window manager's close request ends it with status 0, long
# before its END.
source "$(dirname "$0")/common.bash"
printf -- '0.2 x first\n0.9 x second\n30 x END\n' > data/vessikscript.txt
start_answered
answer_box "BASS" Return
window=$(window_titled "Zemblar") || fail "no demo window"
sleep 4 # the output reaches out.txt only at the end, so give the events time
/usr/bin/python3 "$(dirname "$0")/close_window.py" "$window"
expect_clean_exit 10
expect_in_order "Doing: 0.2 x first" "Doing: 0.9 x second"
grep -q "Doing: 30 x END" out.txt && fail "END ran although the window was closed first"
echo "ok"
