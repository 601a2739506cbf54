#!/usr/bin/env bash
# Sound against picture, end to end: the player on a real sound server (a private PulseAudio with a
# null sink, no sound card needed) plays a click track while a script flashes the screen white on
# every click. The sink's monitor is recorded with the time each sample was played, the player logs
# the time each frame was presented (ZEMBLAR_FRAME_LOG), and bench/avsync/av_offset.py pairs every
# click with its flash: the A/V offset (flash shown minus click heard; positive: the picture is late).
# It also reports the music clock's smoothness (every frame later, residual against its wall clock).
# Usage: bench/av_offset.sh [build dir] [seconds]      defaults: build 30
# AV_OFFSET_KEEP=DIR keeps the raw recording, its timing and the frame log in DIR.
# Needs pulseaudio, pulseaudio-utils, lame, xvfb-run and xdotool (tools/setup.sh installs them) and
# the build's record_monitor. Runs under its own xvfb-run unless DISPLAY is set.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(cd "${1:-$ROOT/build}" && pwd)
SECONDS_TO_RUN=${2:-30}
export MESA_SHADER_CACHE_DISABLE=true

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-noreset -screen 0 1280x720x24" "$0" "$BUILD" "$SECONDS_TO_RUN"
fi
for tool in pulseaudio pactl lame xdotool xwininfo; do
  command -v "$tool" > /dev/null || { echo "av_offset: $tool is missing (run tools/setup.sh)" >&2; exit 1; }
done
[ -x "$BUILD/bench/record_monitor" ] || { echo "av_offset: $BUILD/bench/record_monitor is not built" >&2; exit 1; }

WORK=$(mktemp -d)
PLAYER_PID="" RECORDER_PID=""
# The server is private: its own runtime directory and home, so a desktop's server is never touched.
# The X server's cookie stays where it was found.
export XAUTHORITY="${XAUTHORITY:-$HOME/.Xauthority}"
export XDG_RUNTIME_DIR="$WORK/run" HOME="$WORK/home" PULSE_SERVER="unix:$WORK/run/pulse/native"
mkdir -p -m 700 "$XDG_RUNTIME_DIR" "$HOME"
cleanup() {
  for pid in $PLAYER_PID $RECORDER_PID; do kill "$pid" 2>/dev/null || true; done
  pactl exit 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT
cd "$WORK"

pulseaudio -D -n --exit-idle-time=-1 --system=false --log-target=file:"$WORK/pulse.log" \
  -L module-native-protocol-unix -L "module-null-sink sink_name=zemblar_null"
for _ in $(seq 50); do pactl info > /dev/null 2>&1 && break; sleep 0.1; done
pactl info > /dev/null || { echo "av_offset: the sound server did not start" >&2; cat pulse.log >&2; exit 1; }

mkdir -p data/music data/shaders
/usr/bin/python3 "$ROOT/bench/avsync/av_offset.py" make "$SECONDS_TO_RUN" data
lame --quiet -b 192 clicks.wav data/music/Tundrel.mp3

"$BUILD/bench/record_monitor" zemblar_null.monitor $((SECONDS_TO_RUN + 60)) monitor & RECORDER_PID=$!
sleep 0.5
ZEMBLAR_FRAME_LOG="$WORK/frames.log" SDL_AUDIODRIVER=pulseaudio "$BUILD/zemblar" > out.txt 2> err.txt &
PLAYER_PID=$!
# The start question: Escape answers No (windowed).
for _ in $(seq 600); do
  id=$(xwininfo -root -tree | grep -F '"Start Fullscreen?"' | awk '{ print $1; exit }' || true)
  [ -n "$id" ] && break
  sleep 0.1
done
[ -n "$id" ] || { echo "av_offset: no start question" >&2; exit 1; }
until xdotool windowfocus "$id" 2> /dev/null; do sleep 0.1; done
sleep 0.1
xdotool key Escape
wait "$PLAYER_PID" || { echo "av_offset: the player failed" >&2; cat err.txt >&2; exit 1; }
PLAYER_PID=""
kill -INT "$RECORDER_PID"
wait "$RECORDER_PID" || true
RECORDER_PID=""
echo "load: $(uptime | sed 's/.*load average/load average/')"
/usr/bin/python3 "$ROOT/bench/avsync/av_offset.py" analyse "$SECONDS_TO_RUN" .
# AV_OFFSET_KEEP=DIR keeps the recording, its timing and the frame log for a closer look.
if [ -n "${AV_OFFSET_KEEP:-}" ]; then mkdir -p "$AV_OFFSET_KEEP" && cp monitor.raw monitor.tim frames.log out.txt "$AV_OFFSET_KEEP"; fi
