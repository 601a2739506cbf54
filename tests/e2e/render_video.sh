# zemblar-render into an MP4: the expected number of frames at the requested rate, the length of
# the rendered span, and an audio stream cut from the music at the span's start.
source "$(dirname "$0")/render_common.bash"
make_music 4

render clip.mp4 --fps 30 --start 0.5 --end 2
[ "$STATUS" -eq 0 ] || fail "render: status $STATUS"
[ -s clip.mp4 ] || fail "no video written"
tr '\r' '\n' < err.txt | grep -q "frame 59 (45/45)  t=1.966 s" || fail "no final progress line"

probe() { ffprobe -v error -select_streams "$1" -show_entries "$2" -of default=noprint_wrappers=1:nokey=1 "${@:3}" clip.mp4; }
frames=$(probe v:0 stream=nb_read_frames -count_frames)
[ "$frames" -eq 45 ] || fail "expected 45 video frames, got $frames"
[ "$(probe v:0 stream=r_frame_rate)" = "30/1" ] || fail "frame rate $(probe v:0 stream=r_frame_rate)"
[ "$(probe v:0 stream=width,height | tr '\n' x)" = "1280x720x" ] || fail "frame size"
[ "$(probe v:0 stream=pix_fmt)" = "yuv420p" ] || fail "pixel format"
[ "$(probe a:0 stream=codec_type)" = "audio" ] || fail "no audio stream"
/usr/bin/python3 - "$(probe v:0 stream=duration)" "$(probe a:0 stream=duration)" <<'PY' || fail "durations"
import sys
video, audio = float(sys.argv[1]), float(sys.argv[2])
print("video %.3f s, audio %.3f s" % (video, audio))
assert abs(video - 1.5) < 0.001, video
assert abs(audio - 1.5) < 0.05, audio
PY

# Without music the video is still made, silent, and the reason is given.
rm data/music/Tundrel.mp3
render silent.mp4 --fps 30 --end 0.5
[ "$STATUS" -eq 0 ] || fail "silent render: status $STATUS"
grep -q "the video has no sound" err.txt || fail "no note about the missing music"
[ -z "$(ffprobe -v error -select_streams a -show_entries stream=index -of csv=p=0 silent.mp4)" ] || fail "audio without music"
echo "ok"
