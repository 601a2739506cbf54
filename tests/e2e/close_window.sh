# Closing the demo window (the window manager's close request) ends the demo with status 0.
source "$(dirname "$0")/common.bash"
make_music 5
printf -- '0.1 x nothing\n30 x END\n' > data/vessikscript.txt
start_answered
window_titled "Zemblar" >/dev/null || fail "no demo window"
sleep 1
close_demo_window
expect_clean_exit 10
line_of "Doing: 0.1 x nothing" >/dev/null
grep -q "Doing: 30 x END" out.txt && fail "END ran although the window was closed first"
echo "ok"
