# zemblar-render into PNG frames: two renders of the same span are byte-identical, a frame rendered
# alone (--at) or as the first of a later span equals that frame inside a render from the start,
# the script's END ends the output cleanly after the last frame the demo shows, and bad requests
# are refused without output.
source "$(dirname "$0")/render_common.bash"

render first --fps 30
[ "$STATUS" -eq 0 ] || fail "render to END: status $STATUS"
# END at 3.0 s: frame 90 reads 3.000 s (not past it) and is the last frame shown.
[ "$(ls first | wc -l)" -eq 91 ] || fail "expected 91 frames up to END, got $(ls first | wc -l)"
[ -f first/frame_000090.png ] || fail "missing the last frame before END"
grep -q "Doing: 2.5 title local append;!" out.txt || fail "events before END did not run"
grep -q "Doing: 3.0 cam END" out.txt && fail "END was run"
tr '\r' '\n' < err.txt | grep -q "frame 90 (91/91)  t=3.000 s" || fail "no final progress line"
grep -q "rendered 91 frames at" err.txt || fail "no rendering rate reported"

render second --fps 30 --end 1
[ "$STATUS" -eq 0 ] || fail "second render: status $STATUS"
[ "$(ls second | wc -l)" -eq 30 ] || fail "--end 1 at 30 fps should give 30 frames"
for f in second/*.png; do
  cmp -s "$f" "first/$(basename "$f")" || fail "$(basename "$f") differs between two renders"
done

render --fps 30 --at 2.2 at.png
[ "$STATUS" -eq 0 ] || fail "--at: status $STATUS"
cmp -s at.png first/frame_000066.png || fail "--at 2.2 differs from frame 66 of the full render"

render later --fps 30 --start 1.5 --end 2
[ "$STATUS" -eq 0 ] || fail "--start: status $STATUS"
[ "$(ls later)" = "$(printf 'frame_%06d.png\n' $(seq 45 59))" ] || fail "--start 1.5 --end 2 wrote $(ls later | tr '\n' ' ')"
for f in later/*.png; do
  cmp -s "$f" "first/$(basename "$f")" || fail "$(basename "$f") of a later span differs"
done
grep -q "Doing: 1.25 gem rotatepoint" out.txt || fail "events before the start did not run"

render --fps 30 --at 3.1 late.png
[ "$STATUS" -eq 1 ] || fail "--at after END: status $STATUS"
grep -q "before 3.100 s" err.txt || fail "no reason given for a frame after END"
[ ! -e late.png ] || fail "a frame after END was written"

render --fps 0
[ "$STATUS" -eq 2 ] || fail "--fps 0: status $STATUS"
render --help
[ "$STATUS" -eq 0 ] && grep -q -- "--at SECONDS" out.txt || fail "--help"
echo "ok"
