#!/usr/bin/python3
"""The click track, the flashing script and the analysis of bench/av_offset.sh.

make SECONDS DATA: writes clicks.wav (a click every 0.5 s from 1 s on: 4 ms of a 2 kHz tone with a
sharp start) and DATA/vessikscript.txt (a white image in front of the view on every click for 0.2 s,
END at SECONDS).
analyse SECONDS DIR: reads DIR/monitor.raw and .tim (bench/avsync/record_monitor.cpp) and
DIR/frames.log (the player's ZEMBLAR_FRAME_LOG) and prints the figures.
"""
import math
import struct
import sys
import wave

import numpy as np

RATE = 44100
FIRST, PERIOD, FLASH = 1.0, 0.5, 0.2


def beats(seconds):
    count = int((seconds - 1.5 - FIRST) / PERIOD) + 1
    return [FIRST + k * PERIOD for k in range(count)]


def make(seconds, data):
    samples = np.zeros(int(RATE * (seconds + 2)), dtype=np.float64)
    click = 0.7 * np.sin(2 * math.pi * 2000 * np.arange(int(RATE * 0.004)) / RATE)
    for t in beats(seconds):
        start = int(round(t * RATE))
        samples[start:start + len(click)] = click
    with wave.open("clicks.wav", "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes((samples * 32767).astype("<i2").tobytes())
    lines = ["-1 flash new image", "-1 flash scale 10", "-1 flash setpoint 0 0 5", "-1 SCENE append flash"]
    for t in beats(seconds):
        lines += [f"{t:.3f} flash setpoint 0 0 -1", f"{t + FLASH:.3f} flash setpoint 0 0 5"]
    lines.append(f"{seconds} x END")
    with open(f"{data}/vessikscript.txt", "w") as f:
        f.write("\n".join(lines) + "\n")


def click_times(directory):
    """Steady-clock times at which the clicks were played, from the recording and its timing."""
    audio = np.fromfile(f"{directory}/monitor.raw", dtype="<i2").astype(np.float64) / 32768
    timing = np.loadtxt(f"{directory}/monitor.tim", ndmin=2)
    # Played time of sample 0, from every block after the first half second (the stream settling).
    late = timing[timing[:, 0] > RATE * 0.5]
    zero = np.median(late[:, 1] - late[:, 2] * 1e-6 - late[:, 0] / RATE)
    loud = np.abs(audio) > 0.35  # half the click's peak: the onset within 0.05 ms of the click's start
    onsets, quiet_until = [], -1
    for i in np.flatnonzero(loud):
        if i > quiet_until:
            onsets.append(i)
        quiet_until = i + int(0.1 * RATE)
    return zero + np.array(onsets) / RATE


def analyse(seconds, directory):
    heard = click_times(directory)
    frames = np.loadtxt(f"{directory}/frames.log", ndmin=2)
    present = frames[:, 0] * 1e-9
    wall, music, light = frames[:, 1] / 1000, frames[:, 2], frames[:, 3] >= 128
    edges = present[1:][light[1:] & ~light[:-1]]
    held = present[1:][np.diff(music) <= 0]  # frames whose music time did not move on
    offsets, steady = [], []
    for click in heard:
        if len(edges) == 0:
            break
        nearest = edges[np.argmin(np.abs(edges - click))]
        if abs(nearest - click) < PERIOD / 2:
            offsets.append(nearest - click)
            steady.append(not np.any((held > click - 1.0) & (held < click + PERIOD / 2)))
    offsets, steady = np.array(offsets) * 1000, np.array(steady, dtype=bool)
    interval = np.median(np.diff(present)) * 1000
    print(f"frames: {len(frames)}, median frame interval {interval:.2f} ms; output latency taken off: "
          f"median {np.median(frames[:, 4]):.1f} ms")
    print(f"clicks heard: {len(heard)} of {len(beats(seconds))}, paired with a flash: {len(offsets)}")
    if len(offsets):
        worst = offsets[np.argmax(np.abs(offsets))]
        print(f"A/V offset (flash shown - click heard): median {np.median(offsets):+.2f} ms, "
              f"mean {offsets.mean():+.2f} ms, sd {offsets.std():.2f} ms, worst {worst:+.2f} ms, "
              f"5%..95% {np.percentile(offsets, 5):+.2f}..{np.percentile(offsets, 95):+.2f} ms")
        print(f"target: median within +-10 ms: {'yes' if abs(np.median(offsets)) <= 10 else 'NO'}; "
              f"worst within one frame at 60 Hz (16.7 ms): {'yes' if abs(worst) <= 1000 / 60 else 'NO'}")
        if 0 < steady.sum() < len(offsets):  # some clicks came while the sound stuttered
            calm = offsets[steady]
            print(f"  the {steady.sum()} clicks with no hold of the clock in the second before: median "
                  f"{np.median(calm):+.2f} ms, worst {calm[np.argmax(np.abs(calm))]:+.2f} ms")
    # The music time against the time heard when the frame was presented: the clicks give the music
    # time heard at each steady-clock instant (interpolated between them, so an underrun's slip shows).
    if len(heard) == len(beats(seconds)):
        playing = (present > heard[0]) & (present < heard[-1])
        lead = (music[playing] - np.interp(present[playing], heard, beats(seconds))) * 1000
        print(f"music time minus time heard at presentation: median {np.median(lead):+.2f} ms, "
              f"sd {lead.std():.2f} ms")
    clock_figures(music, wall, seconds)


def clock_figures(music, wall, seconds):
    """Every frame later, and the scatter of the music time against the clock's own wall clock. A
    hold (frames not later in a row: the clock waiting while the sound slipped behind, an underrun)
    starts a new stretch. Within a stretch the residual is taken about a straight line: the sound
    device's clock may run a little faster or slower than the wall clock, and the music time follows
    the sound."""
    playing = (music > FIRST) & (music < seconds - 1)
    music, wall = music[playing], wall[playing]
    later = np.diff(music) > 0
    held = np.flatnonzero(~later)
    runs = np.split(held, np.flatnonzero(np.diff(held) > 1) + 1) if len(held) else []
    held_ms = sum(wall[r[-1] + 1] - wall[r[0]] for r in runs) * 1000
    residual = (music - wall) * 1000
    scatter = []
    moving = np.flatnonzero(np.concatenate([[True], later]))  # frames later than the one before
    for stretch in np.split(moving, np.flatnonzero(np.diff(moving) > 1) + 1):
        if len(stretch) > 2:
            fit = np.polyfit(wall[stretch], residual[stretch], 1)
            scatter.append(residual[stretch] - np.polyval(fit, wall[stretch]))
    scatter = np.concatenate(scatter)
    print(f"music clock: {len(held)} frames not later, in {len(runs)} holds (the sound slipping behind: "
          f"{held_ms:.0f} ms held in all); residual against its wall clock: sd {scatter.std():.3f} ms "
          f"(range {scatter.min():+.2f}..{scatter.max():+.2f} ms)")

if __name__ == "__main__":
    if sys.argv[1] == "make":
        make(float(sys.argv[2]), sys.argv[3])
    else:
        analyse(float(sys.argv[2]), sys.argv[3])
