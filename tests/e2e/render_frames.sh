# zemblar-render of the committed test scene into PNG frames at 60 frames per second: the frames
# match the golden frames of tests/render/golden within a small tolerance (tests/render/golden.py;
# after an intended visual change regenerate them with tests/render/make_goldens.sh and look at
# them), a later span (--start, --end) of a second render and a frame rendered alone (--at) are
# byte-identical to those frames of the render from the start, END ends the output after the last
# frame the demo shows, and a frame after END is refused without output (bad options: unit tests).
source "$(dirname "$0")/common.bash"
use_render_scene

render first
[ "$STATUS" -eq 0 ] || fail "render to END: status $STATUS"
# END at 3.0 s: frame 180 reads 3.000 s (not past it) and is the last frame shown.
[ "$(ls first | wc -l)" -eq 181 ] || fail "expected 181 frames up to END, got $(ls first | wc -l)"
grep -q "Doing: 3.0 cam END" out.txt && fail "END was run"
/usr/bin/python3 "$ZEMBLAR_SOURCE/tests/render/golden.py" compare first "$ZEMBLAR_SOURCE/tests/render/golden" \
  || { cp first/*.diff.png /tmp/ 2>/dev/null || true; fail "frames differ from the goldens (diff images in /tmp)"; }

render later --start 1.5 --end 2
[ "$STATUS" -eq 0 ] && [ "$(ls later)" = "$(printf 'frame_%06d.png\n' $(seq 90 119))" ] ||
  fail "--start 1.5 --end 2 wrote $(ls later | tr '\n' ' ')"
for f in later/*.png; do cmp -s "$f" "first/${f#later/}" || fail "$f differs from the render from the start"; done
render --at 2.25 at.png
[ "$STATUS" -eq 0 ] && cmp -s at.png first/frame_000135.png || fail "--at 2.25 differs from frame 135 of the full render"

render --at 3.1 late.png
[ "$STATUS" -eq 1 ] && [ ! -e late.png ] && grep -q "before 3.100 s" err.txt ||
  fail "--at after END: status $STATUS, a frame written or no reason given"
echo "ok"
