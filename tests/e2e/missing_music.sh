# Without the music file the "BASS" box says so; after OK the demo runs on the wall clock and its
# events still fire at their times, up to "END".
source "$(dirname "$0")/common.bash"
printf -- '0.2 x first\n0.9 x second\n1.2 x END\n' > data/vessikscript.txt
start_answered
answer_box "BASS" Return
expect_clean_exit 30
[ "$ELAPSED_MS" -ge 1200 ] || fail "ended after ${ELAPSED_MS} ms, before the END event's time"
expect_in_order "Doing: 0.2 x first" "Doing: 0.9 x second" "Doing: 1.2 x END"
echo "ok"
