#!/usr/bin/python3
"""Broken-asset runs of the real zemblar under Xvfb.

A small data/ tree using music, every shader program, texture, the font and every mesh, ending with
END after three seconds, is built once. Each case copies it, breaks files (missing, truncated to
half, random bytes of the same length, or a file of another kind) and runs the demo on an Xvfb
display of its own. It must print each failure's message, keep running and end with status 0: by END,
or by closing its window after a while when the script itself is broken. No crash, hang or
sanitizer report. Environment: ZEMBLAR_BIN, ZEMBLAR_SOURCE (required); by default the intact tree
and, per kind, every asset but the script broken at once and the script broken (9 cases);
ZEMBLAR_BROKEN_FULL=1 every file alone in every way; ZEMBLAR_BROKEN_ONLY=regex picks cases;
ZEMBLAR_BROKEN_JOBS=N runs N at once (default 1, so the suite's other tests keep their time).
"""
import math
import os
import random
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time
from concurrent.futures import ThreadPoolExecutor
from queue import Queue

BIN = os.path.abspath(os.environ["ZEMBLAR_BIN"])  # the demo runs in a scratch directory
SOURCE = os.environ["ZEMBLAR_SOURCE"]
HERE = os.path.dirname(os.path.abspath(__file__))
KINDS = ["missing", "truncated", "random", "otherkind"]
CASE_LIMIT = float(os.environ.get("ZEMBLAR_BROKEN_TIMEOUT", "90"))
SCRIPT_RUN = 4.0  # seconds a demo with a broken script must stay up before its window is closed

PROGRAMS = ["main", "glow", "image", "model", "plasma", "sky"]
TEXTURES = ["checker", "flare", "grid", "halftone", "lava", "logo", "metal", "particle", "plasma", "profont",
            "sky"]
MESHES = ["crystal", "zlogo", "terrain", "torusknot"]
# (time, name, type, program, texture, mesh, appended to): every program (spheres draw with "main"
# unless told otherwise), texture and mesh; the texts draw with the font. Some load while it runs.
SCENE = [(-1, "skydome", "sphere", "sky", "sky", None, "SCENE"), (-1, "ball", "sphere", None, "lava", None, "SCENE"),
         (-1, "glowball", "sphere", "glow", "flare", None, "SCENE"), (-1, "fps", "text", None, None, None, "SCENE"),
         (-1, "title", "text", None, None, None, "SCENE"), (-1, "pic", "image", "image", "logo", None, "SCENE"),
         (-1, "dot", "image", None, "particle", None, None), (-1, "swarm", "particles", None, None, None, "SCENE"),
         (-1, "crystal", "model", "model", "metal", "crystal", "SCENE"),
         (-1, "zlogo", "model", "model", "checker", "zlogo", "crystal"),
         (0.2, "terrain", "model", "plasma", "grid", "terrain", "SCENE"),
         (0.4, "knot", "model", "model", "halftone", "torusknot", "SCENE"),
         (0.6, "plasmaball", "sphere", "plasma", "plasma", None, "SCENE")]
SETTINGS = ["-1 skydome scale 40", "-1 glowball setpoint 3 0 0", "-1 fps setpoint -6 4 0", "-1 title local text;BROKEN",
            "-1 swarm local x;4", "-1 swarm local y;4", "-1 swarm local init;dot"]


def script():
    lines = [f"-1 {p} SHADER {p}.vert {p}.frag," for p in PROGRAMS]
    lines += ["-1 cam new camera", "-1 cam setpoint 0 0 12", "-1 SCENE append cam"]
    for t, name, kind, program, texture, mesh, parent in SCENE:  # start-up lines (-1) run first wherever they are
        lines += [f"{t} {name} new {kind}"]
        lines += [f"{t} {name} shader {program}"] if program else []
        lines += [f"{t} {name} texture {texture}.png"] if texture else []
        lines += [f"{t} {name} local loadobj;data/meshes/{mesh}.obj"] if mesh else []
        lines += [f"{t} {parent} append {name}"] if parent else []
    return "\n".join(lines + SETTINGS + ["0.8 cam movepoint 0 2 14 1.5", "1.0 title local append;!", "3 zz END"]) + "\n"


def build_base(root):
    data = os.path.join(root, "data")
    for sub in ["music", "shaders", "textures", "meshes"]:
        os.makedirs(os.path.join(data, sub))
    with open(os.path.join(data, "vessikscript.txt"), "w") as f:
        f.write(script())
    tone = b"".join(struct.pack("<h", int(6000 * math.sin(i * 2 * math.pi * 440 / 44100))) for i in range(44100 * 6))
    subprocess.run(["lame", "--quiet", "-r", "-m", "m", "-", os.path.join(data, "music", "Tundrel.mp3")],
                   input=tone, stderr=subprocess.DEVNULL, check=True)
    for sub, names, ext in [("shaders", PROGRAMS, "vert"), ("shaders", PROGRAMS, "frag"), ("textures", TEXTURES, "png"),
                            ("meshes", MESHES, "obj")]:
        for n in names:
            shutil.copy(os.path.join(SOURCE, "data", sub, f"{n}.{ext}"), os.path.join(data, sub))


# Every breakable file: (relative path, group).
def all_files():
    files = [("data/vessikscript.txt", "script"), ("data/music/Tundrel.mp3", "music")]
    files += [(f"data/shaders/{p}.{e}", "shader") for p in PROGRAMS for e in ["vert", "frag"]]
    files += [(f"data/textures/{t}.png", "font" if t == "profont" else "texture") for t in TEXTURES]
    return files + [(f"data/meshes/{m}.obj", "mesh") for m in MESHES]


# A file of another kind for each group.
OTHER_KIND = {"script": "data/meshes/zlogo.obj", "music": "data/textures/logo.png", "shader": "data/textures/checker.png",
              "texture": "data/shaders/main.frag", "font": "data/meshes/crystal.obj", "mesh": "data/textures/flare.png"}


def break_file(base, work, rel, group, kind, rng):
    path = os.path.join(work, rel)
    original = open(os.path.join(base, rel), "rb").read()
    if kind == "missing":
        os.remove(path)
    elif kind == "otherkind":
        shutil.copy(os.path.join(base, OTHER_KIND[group]), path)
    else:
        open(path, "wb").write(original[:len(original) // 2] if kind == "truncated" else rng.randbytes(len(original)))


# The messages each broken file may print (regular expressions over the output; any one suffices;
# none for a broken music file, which says so in the "BASS" box the driver answers).
def expected_messages(rel, group, kind):
    name = re.escape(os.path.basename(rel))
    if group == "script" and kind == "missing":
        return [r"^Couldn't open: data/vessikscript\.txt$"]
    if group == "shader":
        return [r"^Error linking shader\.$"] + ([] if kind == "missing" else [r"^Error compiling shader " + name + "$"])
    if group in ("texture", "font"):
        return [r"Couldn't find texture: " + name + "$"] if kind == "missing" else [r"Decode png failed: \d+$"]
    if group == "mesh" and kind in ("random", "otherkind"):  # a missing mesh is silent; half a mesh still has faces
        return [r"Couldn't load data/meshes/" + name]
    return []


def start_display():
    """An Xvfb server on a free display number: (process, display name)."""
    r, w = os.pipe()
    proc = subprocess.Popen(["Xvfb", "-displayfd", str(w), "-screen", "0", "1280x720x24", "-nolisten", "tcp"],
                            pass_fds=[w], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(w)
    with os.fdopen(r) as pipe:
        number = pipe.readline().strip()
    if not number:
        raise RuntimeError("Xvfb did not start")
    return proc, ":" + number


def windows(env):
    out = subprocess.run(["xwininfo", "-root", "-tree"], env=env, capture_output=True, text=True).stdout
    return {m[2]: m[1] for m in reversed(list(re.finditer(r'^\s*(0x[0-9a-f]+) "([^"]*)": ', out, re.M)))}  # first wins


def press(env, window, key):
    subprocess.run(["xdotool", "windowfocus", window], env=env, capture_output=True)
    time.sleep(0.1)
    subprocess.run(["xdotool", "key", key], env=env, capture_output=True)


# Runs the demo in `work`, answering its boxes like a user; returns (status or None on a hang,
# BASS boxes answered, whether the window was closed).
def drive(work, display, script_broken):
    env = dict(os.environ, DISPLAY=display, SDL_AUDIODRIVER="dummy", MESA_SHADER_CACHE_DISABLE="true")
    with open(os.path.join(work, "out.txt"), "wb") as out, open(os.path.join(work, "err.txt"), "wb") as err:
        proc = subprocess.Popen([BIN], cwd=work, env=env, stdout=out, stderr=err)
    start, answered, bass_boxes, last_close = time.time(), False, 0, 0.0
    while time.time() - start < CASE_LIMIT and proc.poll() is None:
        wins = windows(env)
        if not answered and "Start Fullscreen?" in wins:
            press(env, wins["Start Fullscreen?"], "Escape")
            answered = True
        elif "BASS" in wins:
            press(env, wins["BASS"], "Return")
            bass_boxes += 1
            time.sleep(0.3)
        elif script_broken and "Zemblar" in wins and time.time() - start > SCRIPT_RUN and time.time() - last_close > 3:
            # Asked again until it ends: a request that reaches a window the GL set-up replaced is lost.
            subprocess.run(["/usr/bin/python3", os.path.join(HERE, "close_window.py"), wins["Zemblar"]], env=env)
            last_close = time.time()
        time.sleep(0.2)
    if proc.poll() is None:
        proc.kill()
        proc.wait()
        return None, bass_boxes, last_close > 0
    return proc.returncode, bass_boxes, last_close > 0


def problems_of(work, breaks, script_broken, status, bass_boxes, closed):
    if status is None:
        return [f"still running after {CASE_LIMIT:.0f} s (hang)"]
    lines = open(os.path.join(work, "out.txt"), "rb").read().decode("latin-1").splitlines()
    errors = open(os.path.join(work, "err.txt"), "rb").read().decode("latin-1")
    problems = [f"exit status {status}"] if status != 0 else []
    if re.search(r"ERROR: (Address|Leak)Sanitizer|runtime error:", errors):
        problems.append("sanitizer report: " + errors.strip().splitlines()[0][:200])
    if not script_broken and lines[-1:] != ["Doing: 3 zz END"]:
        problems.append("did not end with END (last line: %r)" % (lines[-1][:80] if lines else ""))
    if script_broken and not closed and not any(l.startswith("Doing:") for l in lines):
        problems.append("ended on its own without running any event")
    # Half an MP3 still plays (the clock goes on from the wall clock after it); the others fail.
    if any(g == "music" and k != "truncated" for _, g, k in breaks) and not bass_boxes and \
            not any(l.startswith("BASS") for l in lines):
        problems.append("no BASS message for the broken music")
    if not breaks:
        complaints = [l for l in lines if re.search(r"Error|Couldn't|failed|nonexistant|You need|Missing", l)]
        if complaints or bass_boxes:
            problems.append("intact data complained: %r" % (complaints[:3] or "BASS box"))
    for rel, group, kind in breaks:
        wanted = expected_messages(rel, group, kind)
        if wanted and not any(re.search(w, l) for w in wanted for l in lines):
            problems.append(f"no message for {kind} {rel}")
    return problems


def run_case(name, breaks, script_broken, base, display):
    """Runs one case; returns (name, ok, detail)."""
    work = tempfile.mkdtemp(prefix="zemblar-broken-")
    try:
        shutil.copytree(os.path.join(base, "data"), os.path.join(work, "data"))
        rng = random.Random(name)  # the same bytes for the same case in every run
        for rel, group, kind in breaks:
            break_file(base, work, rel, group, kind, rng)
        start = time.time()
        status, bass_boxes, closed = drive(work, display, script_broken)
        problems = problems_of(work, breaks, script_broken, status, bass_boxes, closed)
        if problems:  # keep the working directory for a look by hand
            keep = os.path.join(tempfile.gettempdir(), "zemblar-broken-failed-" + re.sub(r"[^A-Za-z0-9.]", "_", name))
            shutil.rmtree(keep, ignore_errors=True)
            shutil.copytree(work, keep)
            return name, False, "; ".join(problems) + f" (kept in {keep})"
        return name, True, f"ok in {time.time() - start:.1f} s" + (f", {bass_boxes} BASS box" if bass_boxes else "") + \
            (", closed by the window" if closed else "")
    finally:
        shutil.rmtree(work, ignore_errors=True)


def cases():
    files = all_files()
    if os.environ.get("ZEMBLAR_BROKEN_FULL") == "1":
        result = [(f"{kind}:{rel[5:]}", [(rel, group, kind)], group == "script") for rel, group in files for kind in KINDS]
    else:
        result = [("intact", [], False)]
        for kind in KINDS:
            result.append((f"{kind}:all-assets", [(rel, group, kind) for rel, group in files if group != "script"], False))
            result.append((f"{kind}:vessikscript.txt", [("data/vessikscript.txt", "script", kind)], True))
    only = os.environ.get("ZEMBLAR_BROKEN_ONLY")
    return [c for c in result if not only or re.search(only, c[0])]


def main():
    jobs = max(1, int(os.environ.get("ZEMBLAR_BROKEN_JOBS", "1")))
    base = tempfile.mkdtemp(prefix="zemblar-broken-base-")
    servers, free = [], Queue()
    try:
        build_base(base)
        todo = cases()
        servers = [start_display() for _ in range(min(jobs, len(todo)))]
        for _, display in servers:
            free.put(display)

        def one(case):
            display = free.get()
            try:
                result = run_case(*case, base, display)
            finally:
                free.put(display)
            print(("PASS " if result[1] else "FAIL ") + f"{result[0]}: {result[2]}", flush=True)
            return result

        with ThreadPoolExecutor(max_workers=len(servers)) as pool:
            results = list(pool.map(one, todo))
    finally:
        for proc, _ in servers:
            proc.terminate()
            proc.wait()
        shutil.rmtree(base, ignore_errors=True)
    failed = [r for r in results if not r[1]]
    print(f"\n{len(results) - len(failed)} of {len(results)} broken-asset cases passed")
    for r in failed:
        print(f"FAILED {r[0]}: {r[2]}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
