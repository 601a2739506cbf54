# make_music SECONDS: a mono 440 Hz tone of that length as "data/music/Tundrel.mp3" in the working
# directory, made with /usr/bin/python3 and lame. Sourced by the end-to-end helpers.
make_music() {
  mkdir -p data/music
  /usr/bin/python3 - "$1" <<'PY'
import math, struct, sys, wave
seconds = float(sys.argv[1])
with wave.open("tone.wav", "wb") as w:
    w.setnchannels(1); w.setsampwidth(2); w.setframerate(44100)
    w.writeframes(b"".join(struct.pack("<h", int(6000 * math.sin(i * 2 * math.pi * 440 / 44100)))
                           for i in range(int(44100 * seconds))))
PY
  lame --quiet tone.wav data/music/Tundrel.mp3
  rm -f tone.wav
}
