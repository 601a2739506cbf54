# Without the music file the "BASS" box says so; after OK the demo runs on the wall clock and its
# events still fire at their times, up to "END".
source "$(dirname "$0")/common.bash"
printf -- '0.2 x first\n0.9 x second\n1.2 x END\n' > data/vessikscript.txt
start_zemblar
answer_box "Start Fullscreen?" Escape
answer_box "BASS" Return
wait_exit 30
[ "$STATUS" -eq 0 ] || fail "exit status $STATUS"
[ "$ELAPSED_MS" -ge 1200 ] || fail "ended after ${ELAPSED_MS} ms, before the END event's time"
d1=$(line_of "Doing: 0.2 x first")
d2=$(line_of "Doing: 0.9 x second")
d3=$(line_of "Doing: 1.2 x END")
[ "$d1" -lt "$d2" ] && [ "$d2" -lt "$d3" ] || fail "events out of order"
echo "ok"
