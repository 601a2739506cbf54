# zemblar-render into an MP4: the expected number of frames at the requested rate, the length of
# the rendered span, and an audio stream cut from the music at the span's start; without music a
# silent video and the reason.
source "$(dirname "$0")/common.bash"
use_render_scene
make_music 4

render clip.mp4 --fps 30 --start 0.5 --end 2
[ "$STATUS" -eq 0 ] && [ -s clip.mp4 ] || fail "render: status $STATUS"
probe() { ffprobe -v error -select_streams "$1" -show_entries "$2" -of default=noprint_wrappers=1:nokey=1 "${@:3}" clip.mp4; }
[ "$(probe v:0 stream=nb_read_frames -count_frames)" -eq 45 ] || fail "expected 45 video frames"
[ "$(probe v:0 stream=r_frame_rate)" = "30/1" ] || fail "video rate: $(probe v:0 stream=r_frame_rate)"
/usr/bin/python3 - "$(probe v:0 stream=duration)" "$(probe a:0 stream=duration)" <<'PY' || fail "durations"
import sys
video, audio = float(sys.argv[1]), float(sys.argv[2])  # an absent audio stream gives no number
print("video %.3f s, audio %.3f s" % (video, audio))
assert abs(video - 1.5) < 0.001 and abs(audio - 1.5) < 0.05
PY

rm data/music/Tundrel.mp3
render silent.mp4 --fps 30 --end 0.5
[ "$STATUS" -eq 0 ] && grep -q "the video has no sound" err.txt || fail "silent render: status $STATUS, no note"
[ -z "$(ffprobe -v error -select_streams a -show_entries stream=index -of csv=p=0 silent.mp4)" ] || fail "audio without music"
echo "ok"
