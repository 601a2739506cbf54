# zemblar-render's production options on the committed test scene: --size sets the frame size
# and keeps the view (a 640x360 frame looks like the 1280x720 golden reduced), --msaa smooths
# edges and nothing else, --jobs 2 writes the same PNG bytes and the same demo lines as one
# process, a video from two jobs is one continuous stream at the asked rate with one audio track
# of the span's length, without music the video is silent and says why, a video's missing folder is
# made, and refused sizes, sample counts, job counts or output folders give one line and write
# nothing.
source "$(dirname "$0")/common.bash"
use_render_scene
make_music 4
py() { /usr/bin/python3 -c "import sys, numpy as np; from PIL import Image
def px(p): return np.asarray(Image.open(p).convert('RGB'), dtype=np.int16)
$1" "${@:2}"; }

render --at 0.75 small.png --size 640x360
[ "$STATUS" -eq 0 ] || fail "--size 640x360: status $STATUS"
py "assert Image.open('small.png').size == (640, 360)" || fail "frame size: $(file small.png)"
py "d = abs(px('small.png') - px(sys.argv[1])); print('mean difference to the golden %.2f' % d.mean())
assert d.mean() < 2" "$ZEMBLAR_SOURCE/tests/render/golden/frame_000045.png" || fail "640x360 does not show the 1280x720 view"

render --at 0.75 smooth.png --size 640x360 --msaa 4
[ "$STATUS" -eq 0 ] || fail "--msaa 4: status $STATUS"
py "d = abs(px('smooth.png') - px('small.png')).max(axis=2); share = (d > 0).mean()
print('msaa changed %.2f %% of the pixels' % (100 * share)); assert 0 < share < 0.1" || fail "--msaa 4 vs none"

render one --fps 20 --start 0.5 --end 1.5 --size 160x90
cp out.txt one.txt
render two --fps 20 --start 0.5 --end 1.5 --size 160x90 --jobs 2
[ "$STATUS" -eq 0 ] && [ "$(ls two | wc -l)" -eq 20 ] || fail "--jobs 2: status $STATUS, $(ls two | wc -l) frames"
for f in one/*.png; do cmp -s "$f" "two/${f#one/}" || fail "--jobs 2: $f differs"; done
cmp -s one.txt out.txt || fail "--jobs 2 printed other demo lines than one process"
grep -q '(20/20)' err.txt && ! grep -q '/10)' err.txt || fail "not one progress bar for the whole"

# One process encodes and muxes the music itself; two jobs join their parts and mux it once.
probe() { ffprobe -v error -select_streams "$1" -show_entries "$2" -of default=noprint_wrappers=1:nokey=1 "${@:3}" clip.mp4; }
for jobs in 1 2; do # two jobs into a folder that does not exist yet: it is made, as for frames
  render $([ $jobs = 2 ] && echo new/)clip.mp4 --fps 20 --start 0.5 --end 2 --size 160x90 --jobs $jobs
  [ $jobs = 1 ] || { mv new/clip.mp4 . && rmdir new; } || fail "video into new/: status $STATUS, $(ls -R)"
  [ "$STATUS" -eq 0 ] && [ ! -e clip.part1of2.mp4 ] || fail "--jobs $jobs video: status $STATUS or parts left"
  [ "$(probe v:0 stream=nb_read_frames -count_frames)" -eq 30 ] || fail "--jobs $jobs video: not 30 frames"
  [ "$(probe v:0 stream=r_frame_rate)" = "20/1" ] || fail "--jobs $jobs video: rate $(probe v:0 stream=r_frame_rate)"
  [ "$(probe a stream=index | wc -l)" -eq 1 ] || fail "--jobs $jobs video: not one audio stream"
  /usr/bin/python3 -c "import sys; v, a = map(float, sys.argv[1:]); assert abs(v - 1.5) < 0.01 and abs(a - 1.5) < 0.05, (v, a)" \
    "$(probe v:0 stream=duration)" "$(probe a:0 stream=duration)" || fail "--jobs $jobs video: durations"
done

rm data/music/Tundrel.mp3
render clip.mp4 --fps 30 --end 0.5 --size 160x90
[ "$STATUS" -eq 0 ] && grep -q "the video has no sound" err.txt || fail "silent render: status $STATUS, no note"
[ -z "$(probe a stream=index)" ] || fail "audio without music"

# 32 samples lie beyond llvmpipe (4) and most GPUs: refused once, before any job starts. An output
# path that cannot be made a folder (a file in the way) is refused the same way.
touch taken
before=$(ls -R)
for bad in "odd.mp4 --size 321x180" "many --fps 10 --end 0.3 --jobs 4" "dense --end 0.1 --msaa 32 --jobs 3" \
    "taken --end 0.1 --jobs 2" "taken/clip.mp4 --end 0.1" "--at 0.1 taken/look.png"; do
  render $bad
  [ "$STATUS" -eq 2 ] && [ "$(wc -l < err.txt)" -le 2 ] && ! grep -q % err.txt && [ "$(ls -R)" = "$before" ] ||
    fail "'$bad': status $STATUS, $(ls) ($(cat err.txt))"
done
echo "ok"
