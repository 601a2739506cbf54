# A script of hostile lines runs to its END in the real demo, over many drawn frames: 100 separators,
# appends that would close cycles, words of a megabyte and names of 10,000 bytes (far beyond what the
# fuzz inputs reach), numbers beyond every range, NaN and infinity as times and arguments, and a
# million events (100,000 of them due at once, the rest never due). Times of "inf" and "nan" never come due, so their END lines must not end the
# demo early.
source "$(dirname "$0")/common.bash"
make_music 4
cp "$ZEMBLAR_SOURCE/data/shaders/main.vert" "$ZEMBLAR_SOURCE/data/shaders/main.frag" data/shaders/
/usr/bin/python3 - <<'PY'
N = "n" * 10000
lines = ["-1 main SHADER main.vert main.frag,", "-1 dot new demoeffect"]
for name, kind in [("box", "demoeffect"), ("cam", "camera"), ("title", "text"), ("ball", "sphere"), ("swarm", "particles")]:
    lines += [f"-1 {name} new {kind}", f"-1 SCENE append {name}"]
# words of a megabyte and long texts
lines += ["0.2 box local " + "a" * 1000000, "0.2 " + "w" * 1000000 + " scale 2", "0.2 box texture " + "t" * 100000 + ".png",
          "0.2 " + "p" * 100000 + " SHADER " + "s" * 100000 + ".vert main.frag,", "0.2 title local text;" + "W" * 5000,
          "0.2 title local append;" + ";" * 1000, "0.2 box local loadobj;" + "o" * 100000]
# numbers beyond every range, then NaN and infinity, in every command that takes numbers
for t, (a, b, c, d) in [("0.3", ("1e308", "-1e308", "1e400", "-1e400")), ("0.4", ("nan", "inf", "-inf", "nan"))]:
    lines += [f"{t} box {cmd} {a} {b} {c}" for cmd in ["setpoint", "deltapoint", "setdirection", "deltadirection"]]
    lines += [f"{t} {who} {cmd} {a} {b} {c} {dur}" for cmd in ["movepoint", "rotatepoint"] for who, dur in [("box", d), ("cam", 0)]]
    lines += [f"{t} box {cmd} {a}" for cmd in ["scale", "scalex", "state"]]
    lines += [f"{t} ball local scale;{c}", f"{t} swarm local padx;{c}", f"{t} swarm local pady;{a}", f"{t} title setpoint 0 0 {b}"]
# particles beyond every count, from a template that holds the particle system itself
lines += ["-1 dot append swarm", "0.3 swarm local x;99999999999", "0.3 swarm local y;-99999999999", "0.3 swarm local init;dot"]
# times beyond every range, NaN and infinity: start-up events or never due
lines += ["1e308 box scale 2", "99999999999999999999999999999 zz END", "-1e400 box setpoint 1 1 1",
          "inf zz END", "nan zz END", "-nan box scale 1"]
# 100 separators in a row, and appends that would close cycles among drawn effects
lines += ["0.2" + ", " * 50 + "box scale 1", ", " * 50, "0.2 box append ball", "0.2 ball append box", "0.2 box append box",
          "0.2 ball append cam", "0.2 cam append ball"]
# names of 10,000 bytes
lines += ["-1 " + N + " new sphere", "-1 SCENE append " + N, "-1 " + N + " shader " + N,
          "-1 " + N + " texture " + N + ".png"]
with open("data/vessikscript.txt", "w") as f:
    f.write("\n".join(lines) + "\n")
    # A million events: 100,000 due at 1.0 in one frame, the rest never due before END.
    f.write("1.0 box deltapoint 0 0 0\n" * 100000)
    f.write("5000 box scale 3\n" * 900000)
    f.write("2.5 zz END\n")
PY
start_answered
expect_clean_exit 240
[ "$ELAPSED_MS" -ge 2500 ] || fail "ended after ${ELAPSED_MS} ms, before the END event's time"
[ "$(tail -1 out.txt)" = "Doing: 2.5 zz END" ] || fail "did not end on its END line"
grep -q -- "^Doing: inf\|^Doing: nan\|^Doing: 5000 \|^Doing: 1e308" out.txt && fail "an event that is never due ran"
[ "$(grep -c -x -- "Doing: 1.0 box deltapoint 0 0 0" out.txt)" -eq 100000 ] || fail "not every due event ran once"
[ "$(grep -c "^append would make a cycle, refused: " out.txt)" -eq 3 ] || fail "cycle-closing appends were not refused"
grep -q "runtime error:\|Sanitizer" err.txt && fail "sanitizer report"
echo "ok: ran ${ELAPSED_MS} ms"
