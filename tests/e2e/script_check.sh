# zemblar --check: a script with one problem of each kind gives each as "LINE: message" and status
# 1 (a folder or a FIFO named as a mesh is a missing mesh, neither a crash nor a wait; header lines
# and BAR:BEAT times included, a MUSIC file missing or unplayable), the shipped data passes with
# status 0 and no output (every line runs in a real demo without a failure message) and ends by END
# within 5 s after the 164 s track, and bad arguments give the usage and 2.
source "$(dirname "$0")/common.bash"
use_render_scene
cat > bad.txt <<'SCRIPT'
-1 main SHADER main.vert,main.frag,
-1 broken SHADER nosuch.vert,main.frag,
-1 a new demoeffect
-1 a wobble 1 2
-1 t new text
-1 t local blink;x
-1 a local spin;3
-1 m new model
-1 m local loadobj;data/meshes/nothere.obj
-1 p new particles
-1 p local type;cube
-1 q new gizmo
-1 a setpoint 1 2
cam setpoint 0 0 1
-1 SCENE append ghost
1.0 a texture nosuch.png
2.0 a END
3.0 a setpoint 1 1 1
TEMPO 125
TEMPO 90 @ 0:1
MUSIC nothere.ogg
17:5 a setpoint 1 1 1
0:3 a setpoint 1 1 1
1:2 a setpoint 1 1 1
-1 m local loadobj;data/meshes/
-1 m local loadobj;pipe.obj
SCRIPT
mkfifo pipe.obj
STATUS=0; "$ZEMBLAR_BIN" --check bad.txt > out.txt 2> err.txt || STATUS=$?
[ "$STATUS" -eq 1 ] || fail "bad script: status $STATUS"
for want in "2: missing shader file data/shaders/nosuch.vert" "2: Error linking shader." "4: unknown command wobble" \
    "6: failed local: blink x" "7: unknown local word spin" "9: missing mesh file data/meshes/nothere.obj" \
    "11: unknown particle type cube" "12: unknown effect type gizmo" "13: too few words for setpoint" \
    "14: no time at the start" "15: No effect bound to ghost" "16: Couldn't find texture: nosuch.png" \
    "18: never runs: it comes after END" "20: bad TEMPO line: the change at 0:1 is before bar 1" \
    "21: missing music file nothere.ogg" "22: bad time 17:5 (past the bar of 4 beats): the line never runs" \
    "23: bad time 0:3 (before bar 1)" "25: missing mesh file data/meshes/" "26: missing mesh file pipe.obj"; do
  grep -qF "$want" out.txt || fail "no report '$want'"
done
grep -v '^[0-9]*: ' out.txt && fail "output other than reports"
grep -E '^(19|24): ' out.txt && fail "a good TEMPO line or bar time reported"
printf 'MUSIC bad.txt\n' > music.txt
STATUS=0; "$ZEMBLAR_BIN" --check music.txt > out.txt 2> err.txt || STATUS=$?
[ "$STATUS" -eq 1 ] && grep -q "^1: unplayable music file bad.txt: " out.txt || fail "unplayable MUSIC: status $STATUS"

STATUS=0; (cd "$ZEMBLAR_SOURCE" && "$ZEMBLAR_BIN" --check) > out.txt 2> err.txt || STATUS=$?
[ "$STATUS" -eq 0 ] && [ ! -s out.txt ] || fail "shipped data: status $STATUS"
end=$(awk '$2 != "END" && $3 == "END" { print $1 }' "$ZEMBLAR_SOURCE/data/vessikscript.txt")
awk -v t="$end" 'BEGIN { exit !(t > 164 && t < 169) }' || fail "shipped END at '$end', not just after the track"

for args in "--check a b" "--edit --at -3" "--edit --at x" "--frobnicate"; do
  STATUS=0; "$ZEMBLAR_BIN" $args > out.txt 2> err.txt || STATUS=$?
  [ "$STATUS" -eq 2 ] && grep -q "usage: zemblar" err.txt || fail "'$args': status $STATUS or no usage"
done
echo ok
