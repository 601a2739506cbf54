#!/usr/bin/python3
"""Broken-asset runs of the real zemblar under Xvfb.

A small data/ tree (a script using music, every shader program, every texture, the font and every
mesh, ending with END after three seconds) is built once. Each case copies it, breaks files in one of
four ways (missing, truncated to half, random bytes of the same length, or replaced by a file of
another kind) and runs the demo on a display of its own. Every case must print the message of that
failure, keep running and end with status 0: through END when the script is intact, or, when the
script itself is broken (so no END may be left), by closing the window after it has run for a while.
Nothing may crash, hang or write sanitizer reports.

Matrices (environment):
  default                     the intact tree, then one case per kind with every asset but the
                              script broken at once, plus one per kind with the script broken (9)
  ZEMBLAR_BROKEN_FULL=1       every file alone in every way (full matrix, for runs by hand)
  ZEMBLAR_BROKEN_ONLY=regex   only cases whose name matches
  ZEMBLAR_BROKEN_JOBS=N       cases run at once, each on its own Xvfb display (default 1, so
                              that the suite's other tests running beside it keep their time)
Needs ZEMBLAR_BIN and ZEMBLAR_SOURCE; prints one line per case and a summary table.
"""
import hashlib
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
from concurrent.futures import ThreadPoolExecutor

BIN = os.environ["ZEMBLAR_BIN"]
SOURCE = os.environ["ZEMBLAR_SOURCE"]
HERE = os.path.dirname(os.path.abspath(__file__))
KINDS = ["missing", "truncated", "random", "otherkind"]
CASE_LIMIT = float(os.environ.get("ZEMBLAR_BROKEN_TIMEOUT", "90"))
SCRIPT_RUN = 4.0  # seconds a demo with a broken script must stay up before its window is closed

PROGRAMS = ["main", "glow", "image", "model", "plasma", "sky"]
TEXTURES = ["checker", "flare", "grid", "halftone", "lava", "logo", "metal", "particle", "plasma", "profont",
            "sky"]
MESHES = ["crystal", "zlogo", "terrain", "torusknot"]

SCRIPT = """# broken-asset run: every kind of data file is used, END after three seconds
-1 main SHADER main.vert main.frag,
-1 glow SHADER glow.vert glow.frag,
-1 image SHADER image.vert image.frag,
-1 model SHADER model.vert model.frag,
-1 plasma SHADER plasma.vert plasma.frag,
-1 sky SHADER sky.vert sky.frag,
-1 cam new camera
-1 cam setpoint 0 0 12
-1 SCENE append cam
-1 skydome new sphere
-1 skydome shader sky
-1 skydome texture sky.png
-1 skydome scale 40
-1 SCENE append skydome
-1 ball new sphere
-1 ball texture lava.png
-1 SCENE append ball
-1 glowball new sphere
-1 glowball shader glow
-1 glowball texture flare.png
-1 glowball setpoint 3 0 0
-1 SCENE append glowball
-1 fps new text
-1 fps setpoint -6 4 0
-1 SCENE append fps
-1 title new text
-1 title local text;BROKEN
-1 SCENE append title
-1 pic new image
-1 pic shader image
-1 pic texture logo.png
-1 SCENE append pic
-1 dot new image
-1 dot texture particle.png
-1 swarm new particles
-1 swarm local x;4
-1 swarm local y;4
-1 swarm local init;dot
-1 SCENE append swarm
-1 crystal new model
-1 crystal shader model
-1 crystal texture metal.png
-1 crystal local loadobj;data/meshes/crystal.obj
-1 SCENE append crystal
-1 zlogo new model
-1 zlogo shader model
-1 zlogo texture checker.png
-1 zlogo local loadobj;data/meshes/zlogo.obj
-1 crystal append zlogo
0.2 terrain new model
0.2 terrain shader plasma
0.2 terrain texture grid.png
0.2 terrain local loadobj;data/meshes/terrain.obj
0.2 SCENE append terrain
0.4 knot new model
0.4 knot shader model
0.4 knot texture halftone.png
0.4 knot local loadobj;data/meshes/torusknot.obj
0.4 SCENE append knot
0.6 plasmaball new sphere
0.6 plasmaball shader plasma
0.6 plasmaball texture plasma.png
0.6 SCENE append plasmaball
0.8 cam movepoint 0 2 14 1.5
1.0 title local append;!
3 zz END
"""


def make_music(path, seconds):
    import math
    import struct
    import wave
    wav = path + ".wav"
    with wave.open(wav, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(22050)
        w.writeframes(b"".join(struct.pack("<h", int(6000 * math.sin(i * 2 * math.pi * 440 / 22050)))
                               for i in range(int(22050 * seconds))))
    subprocess.run(["lame", "--quiet", wav, path], check=True)
    os.remove(wav)


def build_base(root):
    data = os.path.join(root, "data")
    for sub in ["music", "shaders", "textures", "meshes"]:
        os.makedirs(os.path.join(data, sub))
    with open(os.path.join(data, "vessikscript.txt"), "w") as f:
        f.write(SCRIPT)
    make_music(os.path.join(data, "music", "Tundrel.mp3"), 6)
    for p in PROGRAMS:
        for ext in ["vert", "frag"]:
            shutil.copy(os.path.join(SOURCE, "data", "shaders", f"{p}.{ext}"), os.path.join(data, "shaders"))
    for t in TEXTURES:
        shutil.copy(os.path.join(SOURCE, "data", "textures", f"{t}.png"), os.path.join(data, "textures"))
    for m in MESHES:
        shutil.copy(os.path.join(SOURCE, "data", "meshes", f"{m}.obj"), os.path.join(data, "meshes"))


# Every breakable file: (relative path, group).
def all_files():
    files = [("data/vessikscript.txt", "script"), ("data/music/Tundrel.mp3", "music")]
    files += [(f"data/shaders/{p}.{e}", "shader") for p in PROGRAMS for e in ["vert", "frag"]]
    files += [(f"data/textures/{t}.png", "font" if t == "profont" else "texture") for t in TEXTURES]
    files += [(f"data/meshes/{m}.obj", "mesh") for m in MESHES]
    return files


# A file of another kind for each group: the script gets a mesh, music a texture, shaders and meshes
# a texture, textures a shader stage.
def other_kind(base, group):
    return os.path.join(base, {
        "script": "data/meshes/zlogo.obj", "music": "data/textures/logo.png",
        "shader": "data/textures/checker.png", "texture": "data/shaders/main.frag",
        "font": "data/meshes/crystal.obj", "mesh": "data/textures/flare.png"}[group])


def break_file(base, work, rel, group, kind, rng):
    path = os.path.join(work, rel)
    original = open(os.path.join(base, rel), "rb").read()
    if kind == "missing":
        os.remove(path)
    elif kind == "truncated":
        open(path, "wb").write(original[:len(original) // 2])
    elif kind == "random":
        open(path, "wb").write(rng.randbytes(len(original)))
    else:
        shutil.copy(other_kind(base, group), path)


# The message each broken file must print (regular expressions over the output; any one suffices).
def expected_messages(rel, group, kind):
    name = os.path.basename(rel)
    if group == "script":
        return [r"^Couldn't open: data/vessikscript\.txt$"] if kind == "missing" else []
    if group == "music":
        return []  # the music reports through the "BASS" box, checked by the driver when it appears
    if group == "shader":
        if kind == "missing":
            return [r"^Error linking shader\.$"]
        return [r"^Error compiling shader " + re.escape(name) + "$", r"^Error linking shader\.$"]
    if group in ("texture", "font"):
        if kind == "missing":
            return [r"Couldn't find texture: " + re.escape(name) + "$"]
        return [r"Decode png failed: \d+$"]
    if group == "mesh":
        if kind in ("missing", "truncated"):
            return []  # a missing mesh is silent; half a mesh still holds faces
        return [r"Couldn't load data/meshes/" + re.escape(name)]
    return []


class Display:
    """An Xvfb server on a free display number."""

    def __init__(self):
        r, w = os.pipe()
        self.proc = subprocess.Popen(["Xvfb", "-displayfd", str(w), "-screen", "0", "1280x720x24", "-nolisten", "tcp"],
                                     pass_fds=[w], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(w)
        number = b""
        while not number.endswith(b"\n"):
            chunk = os.read(r, 16)
            if not chunk:
                raise RuntimeError("Xvfb did not start")
            number += chunk
        os.close(r)
        self.name = ":" + number.decode().strip()

    def close(self):
        self.proc.terminate()
        self.proc.wait()


def windows(env):
    out = subprocess.run(["xwininfo", "-root", "-tree"], env=env, capture_output=True, text=True).stdout
    found = {}
    for line in out.splitlines():
        m = re.match(r'\s*(0x[0-9a-f]+) "([^"]*)": ', line)
        if m:
            found.setdefault(m.group(2), m.group(1))
    return found


def press(env, window, key):
    subprocess.run(["xdotool", "windowfocus", window], env=env, capture_output=True)
    time.sleep(0.1)
    subprocess.run(["xdotool", "key", key], env=env, capture_output=True)


# Keeps the working directory of a failed case for a look by hand; returns where it went.
def keep_work(work, name):
    keep = os.path.join(tempfile.gettempdir(), "zemblar-broken-failed-" + re.sub(r"[^A-Za-z0-9.]", "_", name))
    shutil.rmtree(keep, ignore_errors=True)
    shutil.copytree(work, keep)
    return keep


def run_case(name, base, breaks, script_broken, display, seed):
    """Runs one case; returns (name, ok, detail)."""
    work = tempfile.mkdtemp(prefix="zemblar-broken-")
    try:
        shutil.copytree(os.path.join(base, "data"), os.path.join(work, "data"))
        rng = random.Random(seed)  # the same bytes for the same case in every run
        for rel, group, kind in breaks:
            break_file(base, work, rel, group, kind, rng)
        env = dict(os.environ, DISPLAY=display.name, SDL_AUDIODRIVER="dummy", MESA_SHADER_CACHE_DISABLE="true")
        out = open(os.path.join(work, "out.txt"), "wb")
        err = open(os.path.join(work, "err.txt"), "wb")
        start = time.time()
        proc = subprocess.Popen([BIN], cwd=work, env=env, stdout=out, stderr=err)
        answered_start = bass_boxes = 0
        closed = False
        last_close = 0.0
        status = None
        while time.time() - start < CASE_LIMIT:
            status = proc.poll()
            if status is not None:
                break
            wins = windows(env)
            if not answered_start and "Start Fullscreen?" in wins:
                press(env, wins["Start Fullscreen?"], "Escape")
                answered_start = 1
            elif "BASS" in wins:
                press(env, wins["BASS"], "Return")
                bass_boxes += 1
                time.sleep(0.3)
            elif script_broken and "Zemblar" in wins and time.time() - start > SCRIPT_RUN and \
                    time.time() - last_close > 3:
                # Asked again until it ends: a request that reaches a window the GL set-up replaced is lost.
                subprocess.run(["/usr/bin/python3", os.path.join(HERE, "close_window.py"), wins["Zemblar"]], env=env)
                closed = True
                last_close = time.time()
            time.sleep(0.2)
        elapsed = time.time() - start
        if status is None:
            proc.send_signal(signal.SIGKILL)
            proc.wait()
            keep = keep_work(work, name)
            return name, False, f"still running after {CASE_LIMIT:.0f} s (hang; kept in {keep})", elapsed
        out.close()
        err.close()
        text = open(os.path.join(work, "out.txt"), "rb").read().decode("latin-1")
        errors = open(os.path.join(work, "err.txt"), "rb").read().decode("latin-1")
        lines = text.splitlines()
        problems = []
        if status != 0:
            problems.append(f"exit status {status}")
        if re.search(r"ERROR: (Address|Leak)Sanitizer|runtime error:", errors):
            problems.append("sanitizer report: " + errors.strip().splitlines()[0][:200])
        if not script_broken and (not lines or lines[-1] != "Doing: 3 zz END"):
            problems.append("did not end with END (last line: %r)" % (lines[-1][:80] if lines else ""))
        if script_broken and not closed and status == 0 and "Doing:" not in text:
            problems.append("ended on its own without running any event")
        # Half an MP3 still plays (the clock goes on from the wall clock after it); the others fail.
        music_broken = any(group == "music" and kind != "truncated" for _, group, kind in breaks)
        if music_broken and bass_boxes == 0 and not any(l.startswith("BASS") for l in lines):
            problems.append("no BASS message for the broken music")
        if not breaks:
            complaints = [l for l in lines if re.search(r"Error|Couldn't|failed|nonexistant|You need|Missing", l)]
            if complaints or bass_boxes:
                problems.append("intact data complained: %r" % (complaints[:3] if complaints else "BASS box"))
        for rel, group, kind in breaks:
            wanted = expected_messages(rel, group, kind)
            if wanted and not any(re.search(w, l) for w in wanted for l in lines):
                problems.append(f"no message for {kind} {rel}")
        detail = "; ".join(problems) if problems else \
            f"ok in {elapsed:.1f} s" + (f", {bass_boxes} BASS box" if bass_boxes else "") + \
            (", closed by the window" if closed else "")
        if problems:
            detail += f" (kept in {keep_work(work, name)})"
        return name, not problems, detail, elapsed
    finally:
        shutil.rmtree(work, ignore_errors=True)


def cases():
    files = all_files()
    only = os.environ.get("ZEMBLAR_BROKEN_ONLY")
    result = []
    if os.environ.get("ZEMBLAR_BROKEN_FULL") == "1":
        for rel, group in files:
            for kind in KINDS:
                result.append((f"{kind}:{rel[5:]}", [(rel, group, kind)], group == "script"))
    else:
        result.append(("intact", [], False))
        for kind in KINDS:
            assets = [(rel, group, kind) for rel, group in files if group != "script"]
            result.append((f"{kind}:all-assets", assets, False))
            result.append((f"{kind}:vessikscript.txt", [("data/vessikscript.txt", "script", kind)], True))
    if only:
        result = [c for c in result if re.search(only, c[0])]
    return result


def main():
    jobs = max(1, int(os.environ.get("ZEMBLAR_BROKEN_JOBS", "1")))
    base = tempfile.mkdtemp(prefix="zemblar-broken-base-")
    displays = []
    try:
        build_base(base)
        todo = cases()
        displays = [Display() for _ in range(min(jobs, len(todo)))]
        free = list(displays)
        lock = threading.Lock()

        def one(case):
            name, breaks, script_broken = case
            with lock:
                display = free.pop()
            try:
                result = run_case(name, base, breaks, script_broken, display, seed=int(hashlib.sha256(name.encode()).hexdigest()[:8], 16))
            finally:
                with lock:
                    free.append(display)
            print(("PASS " if result[1] else "FAIL ") + f"{result[0]}: {result[2]}", flush=True)
            return result

        with ThreadPoolExecutor(max_workers=len(displays)) as pool:
            results = list(pool.map(one, todo))
    finally:
        for d in displays:
            d.close()
        shutil.rmtree(base, ignore_errors=True)

    failed = [r for r in results if not r[1]]
    print(f"\n{len(results) - len(failed)} of {len(results)} broken-asset cases passed")
    for r in failed:
        print(f"FAILED {r[0]}: {r[2]}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
