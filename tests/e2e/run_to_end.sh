# The whole road of a run with music: start question answered No (windowed), the listing with the
# start-up events' output between its lines, the due events in time order across frames, "END"
# ending the process with status 0 no earlier than its time.
source "$(dirname "$0")/common.bash"
make_music 3
printf '#version 330 compatibility\nin vec3 in_position;\nvoid main() { gl_Position = gl_ModelViewProjectionMatrix * vec4(in_position, 1.0); }\n' > data/shaders/plain.vert
printf '#version 330 compatibility\nout vec4 colour;\nvoid main() { colour = vec4(1.0); }\n' > data/shaders/plain.frag
cat > data/vessikscript.txt <<'SCRIPT'
# a comment line
-1 plain SHADER plain.vert,plain.frag,
-1 box new demoeffect
-1 ghost setpoint 1 2 3
-1 box shader plain
-1 SCENE append box
0.6 box setpoint 0 0 -5
0.3 box scale 2
1.5 box END
SCRIPT
start_answered
expect_clean_exit 30
[ "$ELAPSED_MS" -ge 1500 ] || fail "ended after ${ELAPSED_MS} ms, before the END event's time"
# The listing in file order with the start-up output in place, then the due events in time order.
expect_in_order "-1 plain SHADER plain.vert,plain.frag, -1.000000" "-1 box new demoeffect -1.000000" \
  "-1 ghost setpoint 1 2 3 -1.000000" "You need to create this effect with new or clone first! ghost setpoint" \
  "-1 box shader plain -1.000000" "-1 SCENE append box -1.000000" "0.6 box setpoint 0 0 -5 0.600000" \
  "0.3 box scale 2 0.300000" "1.5 box END 1.500000" \
  "Doing: 0.3 box scale 2" "Doing: 0.6 box setpoint 0 0 -5" "Doing: 1.5 box END"
[ "$(tail -1 out.txt)" = "Doing: 1.5 box END" ] || fail "output after END"
[ "$(grep -c '^Doing:' out.txt)" -eq 3 ] || fail "an event ran more than once"
grep -q -e "Missing words" -e "Error linking" -e "nonexistant" out.txt && fail "the shader did not link"
echo "ok: ran ${ELAPSED_MS} ms"
