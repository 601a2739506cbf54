# zemblar --edit on the render test scene (with a tempo of 120 BPM, so a bar is 2 s): no start
# question, the keys while paused (marks of the exact music time with their bar and beat: Space, M,
# Right, Up, Down, Left, Home; a loop from 1 s to 2 s that keeps the cursor in it, frame steps and
# Shift+M on the nearest sixteenth), time running again after Space, live reload of a script
# rewritten in steps (its new TITLE taken), a broken shader stage reported under its reload line
# while the demo runs on and not again once mended, F5, Escape ending with status 0, no event
# listed, and a "Doing:" line for each event run while playing, none for those a seek or a rebuild
# runs.
source "$(dirname "$0")/common.bash"
use_render_scene
rm data/shaders && cp -r "$ZEMBLAR_SOURCE/tests/render/data/shaders" data/shaders
make_music 20
sed -i '1i TEMPO 120' data/vessikscript.txt

"$ZEMBLAR_BIN" --edit --at 2 > out.txt 2> err.txt & ZEMBLAR_PID=$!; START_NS=$(date +%s%N)
window_titled Zemblar > /dev/null || fail "no window"
xwininfo -root -tree | grep -q "Start Fullscreen?" && fail "the start question was asked"
for k in space m m Right m Up m Down m Left m Home m Right bracketleft Right bracketright l m period m shift+m \
    comma comma m l; do hold_key $k; done
marks=$(nth_line 11 '^Mark: ' >/dev/null; grep '^Mark: ' out.txt | cut -d' ' -f2 | tr '\n' ' ')
read -r a b c d e f g h i j k <<< "$marks"
expect=$(awk -v a="$a" 'BEGIN { printf "%.3f %.3f %.3f %.3f %.3f 0.000 1.000 1.017 1.000 1.000", a, a + 1, a + 11, a + 1, a }')
[ "$b $c $d $e $f $g $h $i $j $k" = "$expect" ] || fail "marks while paused: $marks (want $a $expect)"
grep -qx 'Mark: 1.017 (1:3.033)' out.txt || fail "no bar and beat in the mark"
awk -v a="$a" 'BEGIN { exit !(a >= 2.0 && a < 60) }' || fail "first mark $a is before --at 2"
hold_key space; sleep 1; hold_key m
awk -v t="$(nth_line 12 '^Mark: ' | cut -d' ' -f2)" 'BEGIN { exit !(t > 0.5) }' || fail "time does not run after Space"

# An editor's save: truncate, write in two parts, rename into place.
cp data/vessikscript.txt new.txt && printf '0.5 title local text;EDITED\nTITLE Edited show\n' >> new.txt
: > data/.script.tmp; head -c 100 new.txt > data/.script.tmp; cat new.txt > data/.script.tmp
mv data/.script.tmp data/vessikscript.txt
nth_line 1 '^Reloaded data/vessikscript.txt at [0-9]+\.[0-9]{3}$' > /dev/null
WINDOW_TITLE="Edited show"
window_titled "$WINDOW_TITLE" > /dev/null || fail "the window kept its title after a TITLE line was added"
echo "void main() { broken" > data/shaders/main.frag
nth_line 1 'Error compiling shader main.frag' > /dev/null
cp "$ZEMBLAR_SOURCE/tests/render/data/shaders/main.frag" data/shaders/main.frag
nth_line 2 '^Reloaded data/shaders/main.frag at' > /dev/null
hold_key F5
nth_line 1 '^Reloaded everything at' > /dev/null
hold_key Escape
expect_clean_exit 30
[ "$(grep -c 'Error compiling shader main.frag' out.txt)" = 1 ] || fail "the compile error printed again"
! grep -qE ' -?[0-9]+\.[0-9]{6}$' out.txt || fail "events listed"
[ "$(grep -c '^Doing: 1.25 gem rotatepoint' out.txt)" = 1 ] || fail "not one Doing: line for the event played through"
! grep -q '^Doing: -1 ' out.txt || fail "Doing: lines of a seek or a rebuild"
echo ok
