# A script of hostile lines runs to its END: 100 separators in a row, words of a megabyte, numbers
# beyond every range, NaN and infinity as times and arguments, names of 10,000 bytes, appends that
# would close cycles, and a million events (100,000 of them due at once, the rest never due). Times of
# "inf" and "nan" never come due, so their END lines must not end the demo early.
source "$(dirname "$0")/common.bash"
make_music 4
cp "$ZEMBLAR_SOURCE/data/shaders/main.vert" "$ZEMBLAR_SOURCE/data/shaders/main.frag" data/shaders/
/usr/bin/python3 - <<'PY'
N = "n" * 10000
lines = [
    "-1 main SHADER main.vert main.frag,",
    "-1 box new demoeffect",
    "-1 SCENE append box",
    "-1 cam new camera",
    "-1 SCENE append cam",
    "-1 title new text",
    "-1 SCENE append title",
    "-1 ball new sphere",
    "-1 SCENE append ball",
    "-1 dot new demoeffect",
    "-1 swarm new particles",
    "-1 SCENE append swarm",
    # 100 separators in a row, in every position
    "0.1" + "," * 100 + "box scale 2",
    "0.1 box" + " " * 100 + "scale 2",
    "0.1 box scale" + ", " * 50 + "2",
    " " * 100,
    "," * 100 + "0.1 box scale 2",
    # words of a megabyte and long texts
    "0.2 box local " + "a" * 1000000,
    "0.2 " + "w" * 1000000 + " scale 2",
    "0.2 box texture " + "t" * 100000 + ".png",
    "0.2 " + "p" * 100000 + " SHADER " + "s" * 100000 + ".vert main.frag,",
    "0.2 title local text;" + "W" * 5000,
    "0.2 title local append;" + ";" * 1000,
    "0.2 box local loadobj;" + "o" * 100000,
    # numbers beyond every range
    "1e308 box scale 2",
    "99999999999999999999999999999 zz END",
    "-1e400 box setpoint 1 1 1",
    "0.3 box setpoint 1e308 -1e308 1e400",
    "0.3 box movepoint 1e38 -1e38 1e39 1e308",
    "0.3 box rotatepoint 1e300 1e300 1e300 -1e300",
    "0.3 box scale 1e400",
    "0.3 box state 99999999999999999999999",
    "0.3 box state -99999999999999999999999",
    "0.3 swarm local x;99999999999",
    "0.3 swarm local y;-99999999999",
    "0.3 swarm local padx;1e400",
    "0.3 swarm local init;dot",
    "0.3 ball local scale;1e400",
    "0.3 title setpoint 0 0 -1e30",
    # NaN and infinity
    "inf zz END",
    "nan zz END",
    "-nan box scale 1",
    "0.4 box setpoint nan inf -inf",
    "0.4 box movepoint nan 1 1 nan",
    "0.4 box rotatepoint inf inf inf 0",
    "0.4 box deltapoint nan nan nan",
    "0.4 box setdirection nan inf -inf",
    "0.4 box deltadirection inf -inf nan",
    "0.4 box scale nan",
    "0.4 box scalex inf",
    "0.4 ball local scale;nan",
    "0.4 cam movepoint nan nan nan 0",
    "0.4 cam setdirection inf inf inf",
    "0.4 swarm local pady;nan",
    # names of 10,000 bytes
    "-1 " + N + " new sphere",
    "-1 SCENE append " + N,
    "-1 " + N + " SHADER main.vert main.frag,",
    "-1 " + N + " shader " + N,
    "-1 box shader " + N + "x",
    "-1 " + N + " texture " + N + ".png",
    "-1 " + N + "y setpoint 1 2 3",
    # appends that would close cycles
    "-1 a new demoeffect",
    "-1 b new demoeffect",
    "-1 c new demoeffect",
    "-1 a append b",
    "-1 b append c",
    "-1 c append a",
    "-1 a append a",
    "-1 d clone a",
    "-1 a append d",
    "-1 d append a",
    "-1 SCENE append a",
    "-1 SCENE append a",
    "-1 SCENE append d",
    "-1 swarm append swarm",
    "-1 dot append swarm",
    "0.5 c append b",
    "0.5 c remove c",
]
with open("data/vessikscript.txt", "w") as f:
    f.write("\n".join(lines) + "\n")
    # A million events: 100,000 due at 1.0 in one frame, the rest never due before END.
    f.write("1.0 box deltapoint 0 0 0\n" * 100000)
    f.write("5000 box scale 3\n" * 900000)
    f.write("2.5 zz END\n")
PY
start_zemblar
answer_box "Start Fullscreen?" Escape
wait_exit 240
[ "$STATUS" -eq 0 ] || fail "exit status $STATUS"
[ "$ELAPSED_MS" -ge 2500 ] || fail "ended after ${ELAPSED_MS} ms, before the END event's time"
[ "$(tail -1 out.txt)" = "Doing: 2.5 zz END" ] || fail "did not end on its END line"
line_of "append would make a cycle, refused: c append a" >/dev/null
line_of "append would make a cycle, refused: a append a" >/dev/null
line_of "append would make a cycle, refused: d append a" >/dev/null
grep -q -- "^Doing: inf\|^Doing: nan\|^Doing: 5000 \|^Doing: 1e308" out.txt && fail "an event that is never due ran"
[ "$(grep -c -x -- "Doing: 1.0 box deltapoint 0 0 0" out.txt)" -eq 100000 ] || fail "not every due event ran once"
grep -q "runtime error:\|Sanitizer" err.txt && fail "sanitizer report"
echo "ok: ran ${ELAPSED_MS} ms"
