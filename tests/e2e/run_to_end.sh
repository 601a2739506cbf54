# The whole road of a run with music: start question answered No (windowed), the listing with the
# start-up events' output between its lines, the due events in time order across frames, "END"
# ending the process with status 0 no earlier than its time.
source "$(dirname "$0")/common.bash"
make_music 3
make_shader
cat > data/vessikscript.txt <<'SCRIPT'
# a comment line
-1 plain SHADER plain.vert plain.frag
-1 box new demoeffect
-1 ghost setpoint 1 2 3
-1 box shader plain
-1 SCENE append box
0.6 box setpoint 0 0 -5
0.3 box scale 2
1.5 box END
SCRIPT
start_zemblar
answer_box "Start Fullscreen?" Escape
wait_exit 30
[ "$STATUS" -eq 0 ] || fail "exit status $STATUS"
[ "$ELAPSED_MS" -ge 1500 ] || fail "ended after ${ELAPSED_MS} ms, before the END event's time"
l1=$(line_of "-1 plain SHADER plain.vert plain.frag -1.000000")
l2=$(line_of "-1 box new demoeffect -1.000000")
l3=$(line_of "-1 ghost setpoint 1 2 3 -1.000000")
msg=$(line_of "You need to create this effect with new or clone first! ghost setpoint")
l4=$(line_of "-1 box shader plain -1.000000")
l5=$(line_of "-1 SCENE append box -1.000000")
l6=$(line_of "0.6 box setpoint 0 0 -5 0.600000")
l7=$(line_of "0.3 box scale 2 0.300000")
l8=$(line_of "1.5 box END 1.500000")
d1=$(line_of "Doing: 0.3 box scale 2")
d2=$(line_of "Doing: 0.6 box setpoint 0 0 -5")
d3=$(line_of "Doing: 1.5 box END")
[ "$l1" -lt "$l2" ] && [ "$l2" -lt "$l3" ] && [ "$l3" -lt "$msg" ] && [ "$msg" -lt "$l4" ] || fail "start-up output out of place"
[ "$l4" -lt "$l5" ] && [ "$l5" -lt "$l6" ] && [ "$l6" -lt "$l7" ] && [ "$l7" -lt "$l8" ] || fail "listing out of file order"
[ "$l8" -lt "$d1" ] && [ "$d1" -lt "$d2" ] && [ "$d2" -lt "$d3" ] || fail "events not run in time order after the listing"
[ "$(tail -1 out.txt)" = "Doing: 1.5 box END" ] || fail "output after END"
[ "$(grep -c '^Doing:' out.txt)" -eq 3 ] || fail "an event ran more than once"
echo "ok: ran ${ELAPSED_MS} ms"
