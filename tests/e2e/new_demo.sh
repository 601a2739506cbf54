# zemblar --new: the starter demo is made in a new folder (a folder with anything in it is refused
# with 2 and left alone), passes --check, plays to its END under its own title with its OGG loop
# and no audio box, opens in --edit; given its own OGG by MUSIC it renders a compo video (H.264
# Main 4.1 1080p30 at 6 Mbit/s or more, stereo AAC of 192 kbit/s or more, index first) whose
# sound is that OGG: same loudness and pitch over the span.
source "$(dirname "$0")/common.bash"

STATUS=0; "$ZEMBLAR_BIN" --new mine > out.txt 2> err.txt || STATUS=$?
[ "$STATUS" -eq 0 ] && grep -q "^Made a starter demo in mine:" out.txt || fail "--new: status $STATUS"
[ -f mine/data/music/starter.ogg ] && [ -w mine/data/vessikscript.txt ] || fail "starter files missing or read-only"
before=$(cd mine && find . -type f -exec md5sum {} + | sort)
STATUS=0; "$ZEMBLAR_BIN" --new mine > out.txt 2> err.txt || STATUS=$?
[ "$STATUS" -eq 2 ] && grep -q "not an empty folder" err.txt || fail "--new into a full folder: status $STATUS"
[ "$(cd mine && find . -type f -exec md5sum {} + | sort)" = "$before" ] || fail "a refused --new touched the folder"

cd mine
STATUS=0; "$ZEMBLAR_BIN" --check > out.txt 2> err.txt || STATUS=$?
[ "$STATUS" -eq 0 ] && [ ! -s out.txt ] || fail "starter --check: status $STATUS"

start_answered
window_titled "My first demo" > /dev/null || fail "no window titled by the script's TITLE"
nth_line 1 "^Doing: 5:1 cam append ring$" > /dev/null
expect_clean_exit 60 # the script's END at 9:1 (15.36 s)
xwininfo -root -tree | grep -q '"BASS"' && fail "the OGG did not play"
[ "$ELAPSED_MS" -gt 15000 ] || fail "ended after $ELAPSED_MS ms, before its END"

"$ZEMBLAR_BIN" --edit > out.txt 2> err.txt & ZEMBLAR_PID=$!; START_NS=$(date +%s%N)
press_in "My first demo" key m
press_in "My first demo" key Escape
expect_clean_exit 30
grep -q "^Mark: " out.txt && ! grep -q "no music" err.txt || fail "--edit on the starter"

# Its own OGG: a 330 Hz tone over noise, opened by the name as the MUSIC line gives it.
ffmpeg -v error -f lavfi -i "sine=f=330:d=3,volume=0.5" -f lavfi -i "anoisesrc=d=3:a=0.05" \
  -filter_complex amix=inputs=2 -c:a libvorbis mine.ogg
sed -i 's/^MUSIC .*/MUSIC mine.ogg/' data/vessikscript.txt
render clip.mp4 --preset compo --start 1 --end 2
[ "$STATUS" -eq 0 ] || fail "compo render: status $STATUS"
probe() { ffprobe -v error -select_streams "$1" -show_entries "$2" -of default=noprint_wrappers=1 clip.mp4; }
[ "$(probe v:0 stream=codec_name,profile,level,pix_fmt,width,height,r_frame_rate | tr '\n' ' ')" = \
  "codec_name=h264 profile=Main width=1920 height=1080 pix_fmt=yuv420p level=41 r_frame_rate=30/1 " ] ||
  fail "video stream: $(probe v:0 stream=codec_name,profile,level,pix_fmt,width,height,r_frame_rate)"
[ "$(probe a:0 stream=codec_name,channels | tr '\n' ' ')" = "codec_name=aac channels=2 " ] || fail "audio stream"
/usr/bin/python3 - "$(probe v:0 stream=bit_rate)" "$(probe a:0 stream=bit_rate)" "$(probe a:0 stream=duration)" <<'EOF' ||
import sys
video, audio, seconds = (float(a.split("=")[1]) for a in sys.argv[1:])
print("video %.2f Mbit/s, audio %.0f kbit/s, %.3f s" % (video / 1e6, audio / 1e3, seconds))
assert video >= 6e6 and audio >= 192e3 and abs(seconds - 1) < 0.05, (video, audio, seconds)
head = open("clip.mp4", "rb").read(1 << 16)
assert b"moov" in head and head.find(b"moov") < head.find(b"mdat"), "index not at the front"
EOF
  fail "bit rates, length or index"
# The sound is mine.ogg from 1 s to 2 s: the same level (within 1 dB) and the same main pitch.
/usr/bin/python3 - <<'EOF' || fail "the video's sound is not the OGG's"
import subprocess, numpy as np
def pcm(path, *args):
    raw = subprocess.run(["ffmpeg", "-v", "error", *args, "-i", path, "-ac", "1", "-ar", "44100", "-f", "f32le", "-"],
                         capture_output=True, check=True).stdout
    return np.frombuffer(raw, np.float32)[2048:-2048]
video, ogg = pcm("clip.mp4"), pcm("mine.ogg", "-ss", "1", "-t", "1")
db = lambda x: 20 * np.log10(np.sqrt(np.mean(x.astype(np.float64) ** 2)))
pitch = lambda x: np.argmax(np.abs(np.fft.rfft(x))) * 44100 / len(x)
print("level %.2f / %.2f dB, pitch %.0f / %.0f Hz" % (db(video), db(ogg), pitch(video), pitch(ogg)))
assert abs(db(video) - db(ogg)) < 1 and abs(pitch(video) - 330) < 3 and abs(pitch(ogg) - 330) < 3
EOF
echo ok
