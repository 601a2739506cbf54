#!/usr/bin/env bash
# Measures the live demo under Xvfb with llvmpipe: time from process start to the first presented
# frame, and the frame rate of a scene of N effects of one type (all children of a camera-less
# group, each with its own shader program binding).
# Usage: tools/measure_frames.sh [build dir] [effect type] [count] [seconds]
#        defaults: build sphere 1000 5. Runs under its own xvfb-run unless DISPLAY is set.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(cd "${1:-$ROOT/build}" && pwd)
TYPE=${2:-sphere}
COUNT=${3:-1000}
SECONDS_TO_RUN=${4:-5}
export SDL_AUDIODRIVER=dummy MESA_SHADER_CACHE_DISABLE=true

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x720x24" "$0" "$BUILD" "$TYPE" "$COUNT" "$SECONDS_TO_RUN"
fi

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
mkdir -p "$WORK/data/music" "$WORK/data/shaders"
cd "$WORK"
/usr/bin/python3 - "$TYPE" "$COUNT" <<'PY'
import math, struct, sys, wave
kind, count = sys.argv[1], int(sys.argv[2])
with wave.open("tone.wav", "wb") as w:
    w.setnchannels(1); w.setsampwidth(2); w.setframerate(44100)
    w.writeframes(b"".join(struct.pack("<h", int(6000 * math.sin(i * 0.0627))) for i in range(44100 * 20)))
open("data/shaders/plain.vert", "w").write(
    "#version 330 compatibility\nin vec3 in_position;\nin vec3 in_normal;\nin vec2 in_texcoords;\n"
    "uniform float musictime;\nvoid main() { gl_Position = gl_ModelViewProjectionMatrix * vec4(in_position, 1.0); }\n")
open("data/shaders/plain.frag", "w").write(
    "#version 330 compatibility\nuniform int state;\nout vec4 colour;\nvoid main() { colour = vec4(0.8, 0.6, 0.2, 1.0); }\n")
lines = ["-1 plain SHADER plain.vert plain.frag", "-1 group new demoeffect", "-1 group setpoint 0 0 -40",
         "-1 SCENE append group"]
for i in range(count):
    x, y = (i % 40) - 20, (i // 40) - 12
    lines += [f"-1 e{i} new {kind}", f"-1 e{i} shader plain", f"-1 e{i} setpoint {x} {y} 0",
              f"-1 e{i} scale 0.4", f"-1 e{i} deltadirection 0.1 0 0", f"-1 group append e{i}"]
open("data/vessikscript.txt", "w").write("\n".join(lines) + "\n")
PY
lame --quiet tone.wav data/music/Tundrel.mp3
rm tone.wav

start_ns=$(/usr/bin/python3 -c 'import time; print(time.monotonic_ns())')
"$BUILD/frame_probe" "$SECONDS_TO_RUN" > out.txt
first_ns=$(awk '$1 == "first_frame_monotonic_ns" { print $2 }' out.txt)
echo "effects: $COUNT x $TYPE"
echo "process start to first presented frame: $(( (first_ns - start_ns) / 1000000 )) ms"
grep -E '^(first_frame_ms|frames|fps) ' out.txt
