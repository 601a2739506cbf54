#!/usr/bin/python3
# Generates the demo's music track "data/music/Tundrel.mp3" from scratch:
# every sound is synthesised here with numpy (no samples), mixed to a
# 44100 Hz stereo WAV and encoded with Debian's `lame`.
#
# Timing for the choreography
#   Tempo: 125 BPM, 4/4.  One beat = 0.48 s, one bar = 1.92 s.
#   Section   bars      start (s)   what happens
#   intro     0 - 16      0.00      pads open up from a low-pass, arp and hats
#                                   enter (bar 4), kick + bass enter at bar 8
#                                   (15.36 s)
#   build 1   16 - 24    30.72      kick stops at bar 20 (38.40 s), snare roll
#                                   speeds up, noise riser
#   drop 1    24 - 40    46.08      full beat, rolling bass, pluck arp, lead
#   breakdown 40 - 52    76.80      no drums: pads, arp, soft lead, reverb
#   build 2   52 - 60    99.84      kick returns, snare roll, riser (kick stops
#                                   at bar 56, 107.52 s)
#   drop 2    60 - 76   115.20      full beat, lead doubled an octave up,
#                                   sixteenth bass
#   outro     76 - 84   145.92      beat thins out, last chord hit at bar 83
#                                   (159.36 s)
#   end of track        164.00      silence after the reverb tail
#   Every drop and the outro start with a crash; a beat falls on every
#   multiple of 0.48 s, a bar on every multiple of 1.92 s.
#
# Usage:
#   /usr/bin/python3 tools/gen_music.py                 -> data/music/Tundrel.mp3
#   /usr/bin/python3 tools/gen_music.py --wav OUT.wav   -> also keep the WAV
#   /usr/bin/python3 tools/gen_music.py --test-clip OUT.mp3 --seconds 3
#        writes a short loop of the same instruments (for end-to-end tests).
#   /usr/bin/python3 tools/gen_music.py --starter starter/data/music/starter.ogg
#        writes the starter demo's 8-bar loop (125 BPM, D minor, 15.36 s) as
#        OGG Vorbis through ffmpeg's libvorbis: bars 1-4 pads, arp and hats,
#        bars 5-8 add kick, clap and bass (the drop at bar 5, 7.68 s).
import argparse
import os
import subprocess
import sys
import tempfile
import wave

import numpy as np

SR = 44100
BPM = 125.0
BEAT = 60.0 / BPM
BAR = 4 * BEAT
SIXTEENTH = BEAT / 4
TOTAL_SECONDS = 164.0

SECTIONS = [  # name, first bar, last bar (exclusive)
    ("intro", 0, 16), ("build1", 16, 24), ("drop1", 24, 40),
    ("breakdown", 40, 52), ("build2", 52, 60), ("drop2", 60, 76),
    ("outro", 76, 84),
]

RNG = np.random.default_rng(20260407)


def midi_hz(m):
    return 440.0 * 2.0 ** ((np.asarray(m, dtype=np.float64) - 69.0) / 12.0)


def samples(seconds):
    return int(round(seconds * SR))


# ---------------------------------------------------------------- oscillators

class WaveBank:
    """Band-limited single-cycle tables at several brightness levels.

    Table k holds a saw (or square) whose harmonics roll off above
    2**(k * 7 / (LEVELS - 1)) like a two-pole low-pass; reading between two
    tables gives a smooth, alias-free filter sweep."""
    SIZE = 2048
    LEVELS = 29

    def __init__(self, shape):
        n = np.arange(1, 400)
        ph = np.arange(self.SIZE) / self.SIZE * 2 * np.pi
        sines = np.sin(np.outer(n, ph))
        tables = []
        for k in range(self.LEVELS):
            h = 2.0 ** (k * 7.0 / (self.LEVELS - 1))
            amp = 1.0 / np.sqrt(1.0 + (n / h) ** 4) / n
            if shape == "square":
                amp = amp * (n % 2 == 1)
            amp[n > 3 * h + 2] = 0.0
            tables.append(amp @ sines)
        t = np.array(tables)
        self.tables = (t / np.abs(t[-1]).max()).astype(np.float32)
        # one wrap-around column so index i+1 always exists
        self.tables = np.concatenate([self.tables, self.tables[:, :1]], axis=1)

    def render(self, freq, n, cutoff_hz, phase0=0.0):
        """freq and cutoff_hz: scalars or arrays of length n."""
        freq = np.broadcast_to(np.asarray(freq, dtype=np.float64), (n,))
        phase = (np.cumsum(freq) / SR + phase0) % 1.0
        pos = phase * self.SIZE
        i0 = pos.astype(np.int64)
        fr = (pos - i0).astype(np.float32)
        hmax = 20000.0 / (3.0 * freq)
        h = np.clip(np.asarray(cutoff_hz) / freq, 1.0, np.minimum(128.0, hmax))
        lv = np.log2(h) / 7.0 * (self.LEVELS - 1)
        k0 = np.minimum(lv.astype(np.int64), self.LEVELS - 2)
        kf = (lv - k0).astype(np.float32)
        t = self.tables
        a = t[k0, i0] + (t[k0, i0 + 1] - t[k0, i0]) * fr
        b = t[k0 + 1, i0] + (t[k0 + 1, i0 + 1] - t[k0 + 1, i0]) * fr
        return a + (b - a) * kf


SAW = None
SQUARE = None


def banks():
    global SAW, SQUARE
    if SAW is None:
        SAW = WaveBank("saw")
        SQUARE = WaveBank("square")


def adsr(n, a, d, s, r, gate):
    """Envelope of n samples: attack, decay to sustain level s, release
    after `gate` seconds."""
    t = np.arange(n) / SR
    env = np.where(t < a, t / max(a, 1e-6),
                   s + (1 - s) * np.exp(-(t - a) / max(d, 1e-6)))
    at_gate = np.interp(gate, t, env) if n else 0.0
    rel = at_gate * np.exp(-(t - gate) / max(r, 1e-6))
    out = np.where(t < gate, env, rel).astype(np.float32)
    tail = min(n, samples(0.006))  # end every note at exactly zero: no clicks
    if tail:
        out[n - tail:] *= np.linspace(1.0, 0.0, tail, dtype=np.float32)
    return out


# --------------------------------------------------------------- spectral FX

def fft_filter(x, gain_of_freq):
    """Static zero-phase filter of a mono signal through one FFT."""
    n = len(x)
    m = 1 << (n - 1).bit_length()
    spectrum = np.fft.rfft(x, m)
    f = np.fft.rfftfreq(m, 1.0 / SR)
    return np.fft.irfft(spectrum * gain_of_freq(f), m)[:n].astype(np.float32)


def sweep_filter(x, gain_of_freq_and_pos):
    """Time-varying filter by windowed overlap-add: the gain curve is given
    the bin frequencies and the frame position 0..1 within the signal."""
    win, hop = 2048, 512
    w = (0.5 - 0.5 * np.cos(2 * np.pi * np.arange(win) / win)).astype(np.float32)
    n = len(x)
    padded = np.concatenate([np.zeros(win, np.float32), x, np.zeros(2 * win, np.float32)])
    out = np.zeros_like(padded)
    f = np.fft.rfftfreq(win, 1.0 / SR)
    for s in range(0, n + win, hop):
        pos = min(max((s - win / 2) / max(n, 1), 0.0), 1.0)
        spectrum = np.fft.rfft(padded[s:s + win] * w)
        out[s:s + win] += np.fft.irfft(spectrum * gain_of_freq_and_pos(f, pos), win) * w
    return (out[win:win + n] / 1.5).astype(np.float32)


def lowpass_gain(fc, order=2):
    return lambda f: 1.0 / np.sqrt(1.0 + (f / fc) ** (2 * order))


def highpass_gain(fc, order=2):
    return lambda f: 1.0 / np.sqrt(1.0 + (fc / np.maximum(f, 1.0)) ** (2 * order))


def reverb(stereo, seconds=2.6, tone=5000.0):
    """Convolution with decaying, darkened noise (different per channel)."""
    n = samples(seconds)
    t = np.arange(n) / SR
    out = np.zeros_like(stereo)
    for ch in range(2):
        ir = RNG.standard_normal(n) * np.exp(-t * 6.9 / seconds)
        ir[:samples(0.012)] = 0.0  # pre-delay
        ir = fft_filter(ir, lambda f: lowpass_gain(tone, 1)(f) * highpass_gain(180.0, 1)(f))
        ir /= np.sqrt(np.sum(ir ** 2))
        m = 1 << (len(stereo[ch]) + n - 1).bit_length()
        y = np.fft.irfft(np.fft.rfft(stereo[ch], m) * np.fft.rfft(ir, m), m)
        out[ch] = y[:stereo.shape[1]]
    return out


def pingpong(stereo, delay_s, feedback=0.45, taps=6):
    """Echoes that alternate between the channels."""
    out = stereo.copy()
    d = samples(delay_s)
    mono = stereo.mean(axis=0)
    n = stereo.shape[1]
    for k in range(1, taps + 1):
        if k * d >= n:
            break
        ch = k % 2
        out[ch, k * d:] += mono[:n - k * d] * feedback ** k
    return out


# ---------------------------------------------------------------- instruments

def kick():
    n = samples(0.45)
    t = np.arange(n) / SR
    f = 46.0 + 120.0 * np.exp(-t / 0.028) + 40.0 * np.exp(-t / 0.004)
    body = np.sin(2 * np.pi * np.cumsum(f) / SR) * np.exp(-t / 0.22)
    click = RNG.standard_normal(n) * np.exp(-t / 0.0015) * 0.35
    x = np.tanh(1.6 * (body + click)) * np.minimum(1.0, t / 0.0008 + 0.2)
    x[-samples(0.02):] *= np.linspace(1, 0, samples(0.02))
    return x.astype(np.float32)


def clap():
    n = samples(0.35)
    t = np.arange(n) / SR
    noise = RNG.standard_normal(n)
    env = np.zeros(n)
    for k, off in enumerate((0.0, 0.011, 0.022)):
        tt = t - off
        env += np.where(tt >= 0, np.exp(-np.maximum(tt, 0) / (0.006 if k < 2 else 0.11)), 0)
    body = fft_filter(noise * env, lambda f: np.exp(-((np.log2(np.maximum(f, 1) / 1500.0)) ** 2) / 0.9))
    tone = np.sin(2 * np.pi * 185.0 * t) * np.exp(-t / 0.05) * 0.5
    return (body * 2.2 + tone).astype(np.float32)


def hat(open_hat=False):
    n = samples(0.3 if open_hat else 0.06)
    t = np.arange(n) / SR
    x = fft_filter(RNG.standard_normal(n), highpass_gain(7500.0, 3))
    return (x * np.exp(-t / (0.09 if open_hat else 0.014))).astype(np.float32)


def crash():
    n = samples(2.4)
    t = np.arange(n) / SR
    x = fft_filter(RNG.standard_normal(n), highpass_gain(4000.0, 2))
    return (x * np.exp(-t / 0.7) * 0.6).astype(np.float32)


def boom():
    n = samples(1.6)
    t = np.arange(n) / SR
    f = 38.0 + 60.0 * np.exp(-t / 0.08)
    return (np.sin(2 * np.pi * np.cumsum(f) / SR) * np.exp(-t / 0.5)).astype(np.float32)


def bass_note(midi, dur, bright=1.0):
    n = samples(dur + 0.03)
    f = midi_hz(midi)
    t = np.arange(n) / SR
    cutoff = (180.0 + 1400.0 * bright * np.exp(-t / 0.07)) * (1 + 0.0 * t)
    x = SAW.render(f, n, cutoff) * 0.75 + np.sin(2 * np.pi * f * t) * 0.35
    return x * adsr(n, 0.003, 0.12, 0.6, 0.02, dur)


def pluck_note(midi, dur, bright=1.0):
    n = samples(dur + 0.25)
    f = midi_hz(midi)
    t = np.arange(n) / SR
    cutoff = 300.0 + 5000.0 * bright * np.exp(-t / 0.09)
    x = SQUARE.render(f, n, cutoff, RNG.random()) * 0.6 + SAW.render(f * 1.004, n, cutoff) * 0.4
    return x * adsr(n, 0.002, 0.16, 0.15, 0.12, dur)


def lead_note(midi, dur):
    n = samples(dur + 0.3)
    t = np.arange(n) / SR
    vib = 1.0 + 0.004 * np.sin(2 * np.pi * 5.5 * t) * np.clip((t - 0.15) / 0.2, 0, 1)
    f = midi_hz(midi) * vib
    cutoff = 2200.0 + 2500.0 * np.exp(-t / 0.25)
    x = (SAW.render(f * 1.0035, n, cutoff, RNG.random())
         + SAW.render(f / 1.0035, n, cutoff, RNG.random())
         + 0.5 * SQUARE.render(f * 0.5, n, cutoff * 0.6, RNG.random()))
    return x * adsr(n, 0.01, 0.3, 0.75, 0.18, dur) * 0.45


def pad_chord(notes, dur, cutoff):
    """Detuned saw stack per note, spread across the stereo field."""
    n = samples(dur + 0.8)
    out = np.zeros((2, n), np.float32)
    env = adsr(n, 0.35, 0.8, 0.85, 0.5, dur)
    if isinstance(cutoff, tuple):  # geometric sweep from the first to the second value
        cut = cutoff[0] * (cutoff[1] / cutoff[0]) ** np.linspace(0.0, 1.0, n)
    else:
        cut = cutoff
    for m in notes:
        f = midi_hz(m)
        for cents, pan in ((-13, -0.9), (-6, -0.4), (0, 0.0), (6, 0.4), (13, 0.9)):
            v = SAW.render(f * 2 ** (cents / 1200.0), n, cut, RNG.random()) * env
            out[0] += v * (0.5 - 0.5 * pan) * 0.16
            out[1] += v * (0.5 + 0.5 * pan) * 0.16
    return out


def riser(seconds):
    n = samples(seconds)
    noise = RNG.standard_normal(n).astype(np.float32)

    def band(f, pos):
        centre = 250.0 * (40.0 ** pos)
        return np.exp(-((np.log2(np.maximum(f, 1) / centre)) ** 2) / 0.5)
    x = sweep_filter(noise, band)
    t = np.arange(n) / SR
    pitch = 110.0 * 2 ** (3.0 * (t / seconds) ** 2)
    tone = SAW.render(pitch, n, pitch * 6) * 0.25
    return ((x * 0.9 + tone) * (t / seconds) ** 2).astype(np.float32)


def downlifter(seconds):
    n = samples(seconds)
    noise = RNG.standard_normal(n).astype(np.float32)

    def band(f, pos):
        centre = 9000.0 * (0.03 ** pos)
        return np.exp(-((np.log2(np.maximum(f, 1) / centre)) ** 2) / 0.7)
    t = np.arange(n) / SR
    return (sweep_filter(noise, band) * np.exp(-t / (seconds / 3))).astype(np.float32)


# ---------------------------------------------------------------- arrangement

# A minor: Am F C G for the main parts, F G Em Am for the breakdown.
CHORDS_MAIN = [(57, 60, 64), (53, 57, 60), (48, 52, 55), (55, 59, 62)]
CHORDS_BREAK = [(53, 57, 60), (55, 59, 62), (52, 55, 59), (57, 60, 64)]
BASS_MAIN = [33, 29, 36, 31]
BASS_BREAK = [29, 31, 28, 33]
# lead phrase over four bars: (beat, length in beats, midi note)
LEAD = [(0, 1.5, 76), (1.5, 0.5, 74), (2, 1, 72), (3, 1, 69),
        (4, 1.5, 72), (5.5, 0.5, 74), (6, 2, 77),
        (8, 1.5, 76), (9.5, 0.5, 74), (10, 1, 72), (11, 1, 79),
        (12, 2, 74), (14, 1, 71), (15, 1, 74)]
LEAD_B = [(0, 3, 76), (3, 1, 72), (4, 3, 77), (7, 1, 76),
          (8, 2, 79), (10, 2, 76), (12, 3, 74), (15, 1, 71)]
ARP_STEPS = [0, 1, 2, 3, 2, 1, 0, 2, 1, 2, 3, 4, 3, 2, 1, 2]


class Mix:
    def __init__(self, seconds):
        self.n = samples(seconds)
        self.bus = {}

    def add(self, bus, t, sig, gain=1.0, pan=0.0):
        buf = self.bus.setdefault(bus, np.zeros((2, self.n), np.float32))
        s = samples(t)
        if s >= self.n:
            return
        if sig.ndim == 1:
            sig = np.stack([sig * (0.5 - 0.5 * pan) * 2 ** 0.5, sig * (0.5 + 0.5 * pan) * 2 ** 0.5])
        e = min(self.n, s + sig.shape[1])
        buf[:, s:e] += sig[:, :e - s] * gain

    def get(self, bus):
        return self.bus.get(bus, np.zeros((2, self.n), np.float32))


def section_of(bar):
    for name, a, b in SECTIONS:
        if a <= bar < b:
            return name
    return "end"


def compose(mix, bars):
    banks()
    K, CL, HC, HO = kick(), clap(), hat(), hat(True)
    CR, BM = crash(), boom()
    kicks = []
    for bar in range(bars):
        sec = section_of(bar)
        t0 = bar * BAR
        brk = sec == "breakdown"
        ci = bar % 4
        chord = (CHORDS_BREAK if brk else CHORDS_MAIN)[ci]
        root = (BASS_BREAK if brk else BASS_MAIN)[ci]
        drop = sec in ("drop1", "drop2")
        # --- drums
        kick_on = (drop or (sec == "intro" and bar >= 8)
                   or (sec == "build1" and bar < 20) or (sec == "build2" and bar < 56)
                   or (sec == "outro" and bar < 82))
        if kick_on:
            for b in range(4):
                mix.add("drums", t0 + b * BEAT, K, 0.8)
                kicks.append(t0 + b * BEAT)
        if drop or (sec == "outro" and bar < 82) or (sec == "intro" and bar >= 12):
            for b in (1, 3):
                mix.add("drums", t0 + b * BEAT, CL, 0.5, 0.05)
                mix.add("send", t0 + b * BEAT, CL, 0.12)
        if drop or (sec == "intro" and bar >= 4) or sec == "outro" or sec == "build1":
            for s in range(16):
                if s % 4 == 2:
                    mix.add("drums", t0 + s * SIXTEENTH, HO, 0.36, 0.3)
                elif drop or s % 2 == 0:
                    acc = 0.26 if s % 2 == 0 else 0.15
                    mix.add("drums", t0 + s * SIXTEENTH, HC, acc, -0.3)
        if sec in ("build1", "build2"):
            a = SECTIONS[1][1] if sec == "build1" else SECTIONS[4][1]
            k = bar - a  # 0..7
            step = BEAT if k < 4 else (BEAT / 2 if k < 6 else SIXTEENTH)
            for j in range(int(round(BAR / step))):
                level = 0.12 + 0.3 * (k * BAR + j * step) / (8 * BAR)
                mix.add("drums", t0 + j * step, CL, level, 0.0)
            if k == 0:
                mix.add("fx", t0, riser(8 * BAR), 0.55)
        if bar in (24, 60, 76):
            mix.add("drums", t0, CR, 0.5, 0.2)
            mix.add("send", t0, CR, 0.2)
            mix.add("drums", t0, BM, 0.6)
            mix.add("fx", t0, downlifter(2 * BAR), 0.35)
        if bar in (40,):
            mix.add("fx", t0, downlifter(4 * BAR), 0.3)
        # --- bass
        bass_on = drop or (sec == "intro" and bar >= 8) or (sec == "build1" and bar < 20) \
            or (sec == "build2" and bar < 56) or (sec == "outro" and bar < 82)
        if bass_on:
            bright = 0.6 if sec in ("intro", "build1", "build2") else 1.0
            if sec == "drop2":
                for s in range(16):
                    if s % 4 != 0:
                        m = root + (12 if s % 4 == 2 else 0)
                        mix.add("bass", t0 + s * SIXTEENTH, bass_note(m, SIXTEENTH * 0.8, bright), 0.5)
            else:
                for b in range(4):
                    mix.add("bass", t0 + b * BEAT + BEAT / 2, bass_note(root, BEAT * 0.42, bright), 0.55)
        # --- pads (intro opens a low-pass over its 16 bars)
        if sec != "end" and bar < 83:
            if sec == "intro":
                c0 = 250.0 * 16.0 ** (bar / 16.0)
                cutoff = (c0, c0 * 16.0 ** (1 / 16.0))
            else:
                cutoff = 1500.0 if drop else 2600.0
            gain = 0.5 if drop else 0.75
            pad = pad_chord(chord, BAR - 0.05, cutoff)
            mix.add("pads", t0, pad, gain)
            mix.add("send", t0, pad, 0.25 * gain)
        if bar == 83:
            pad = pad_chord(CHORDS_MAIN[0] + (45,), 2.5, 3000.0)
            mix.add("pads", t0, pad, 0.9)
            mix.add("send", t0, pad, 0.6)
            mix.add("drums", t0, K, 0.9)
            mix.add("drums", t0, CR, 0.5)
            kicks.append(t0)
        # --- arpeggio
        arp_on = (sec == "intro" and bar >= 4) or sec in ("build1", "build2", "breakdown") or drop \
            or (sec == "outro" and bar < 80)
        if arp_on:
            tones = [chord[0] + 12, chord[1] + 12, chord[2] + 12, chord[0] + 24, chord[1] + 24]
            bright = 0.35 + 0.65 * min(1.0, bar / 16.0)
            for s in range(16):
                m = tones[ARP_STEPS[s]]
                g = 0.27 if s % 4 == 0 else 0.19
                mix.add("arp", t0 + s * SIXTEENTH, pluck_note(m, SIXTEENTH * 0.7, bright), g,
                        0.35 if s % 2 else -0.35)
        # --- lead
        if drop or brk:
            phrase_bar = (bar - (24 if sec == "drop1" else 60 if sec == "drop2" else 40)) % 4
            phrase = LEAD_B if brk else LEAD
            for beat, length, m in phrase:
                if phrase_bar * 4 <= beat < phrase_bar * 4 + 4:
                    tt = t0 + (beat - phrase_bar * 4) * BEAT
                    note = lead_note(m, length * BEAT * 0.92)
                    g = 0.34 if brk else 0.42
                    mix.add("lead", tt, note, g)
                    if sec == "drop2":
                        mix.add("lead", tt, lead_note(m + 12, length * BEAT * 0.92), 0.14, 0.2)
    return kicks


def duck_curve(n, kicks, depth=0.75, release=0.16):
    """Gain that dips after every kick and recovers: the pumping sidechain."""
    g = np.ones(n, np.float32)
    t = np.arange(samples(BEAT)) / SR
    shape = 1.0 - depth * np.exp(-t / release) * np.minimum(1.0, t / 0.004)
    shape = shape.astype(np.float32)
    for k in kicks:
        s = samples(k)
        e = min(n, s + len(shape))
        if s < n:
            g[s:e] = np.minimum(g[s:e], shape[:e - s])
    return g


def master(mix, kicks):
    n = mix.n
    duck = duck_curve(n, kicks)
    soft = 1.0 - (1.0 - duck) * 0.5
    arp = pingpong(mix.get("arp"), 3 * SIXTEENTH, 0.4)
    lead = pingpong(mix.get("lead"), 2 * SIXTEENTH * 3, 0.3, 4)
    send = mix.get("send") + arp * 0.35 + lead * 0.3 + mix.get("fx") * 0.3
    wet = reverb(send)
    bass = mix.get("bass")
    bass = np.stack([fft_filter(bass[c], lowpass_gain(2500.0, 2)) for c in range(2)])
    out = (mix.get("drums") + bass * duck + mix.get("pads") * duck + arp * soft
           + lead * soft + mix.get("fx") + wet * 0.55 * soft)
    # gentle bus compression by a soft knee, then normalise to -1 dBFS
    out = np.tanh(out * 0.9) / 0.9
    out -= out.mean(axis=1, keepdims=True)
    fade = samples(0.05)
    out[:, :fade] *= np.linspace(0, 1, fade)
    out[:, -fade:] *= np.linspace(1, 0, fade)
    peak = np.abs(out).max()
    return out * (10 ** (-1.0 / 20) / peak)


def write_wav(path, stereo):
    pcm = (np.clip(stereo, -1, 1) * 32767).astype("<i2").T.copy()
    with wave.open(path, "wb") as w:
        w.setnchannels(2)
        w.setsampwidth(2)
        w.setframerate(SR)
        w.writeframes(pcm.tobytes())


def encode_mp3(wav_path, mp3_path):
    os.makedirs(os.path.dirname(os.path.abspath(mp3_path)), exist_ok=True)
    subprocess.run(["lame", "--quiet", "-V", "3", wav_path, mp3_path], check=True)


def render(seconds, bars):
    mix = Mix(seconds)
    kicks = compose(mix, bars)
    return master(mix, kicks)


def render_test_clip(seconds):
    """A short loop of the drop's instruments: kick, clap, bass, pad, arp."""
    mix = Mix(seconds)
    banks()
    K, CL = kick(), clap()
    kicks = []
    t = 0.0
    while t < seconds:
        mix.add("drums", t, K, 0.9)
        kicks.append(t)
        t += BEAT
    for b in range(int(seconds / BAR) + 1):
        mix.add("pads", b * BAR, pad_chord(CHORDS_MAIN[b % 4], BAR, 1500.0), 0.5)
        for j in range(4):
            mix.add("bass", b * BAR + j * BEAT + BEAT / 2, bass_note(BASS_MAIN[b % 4], BEAT * 0.4), 0.5)
            if j % 2:
                mix.add("drums", b * BAR + j * BEAT, CL, 0.4)
    return master(mix, kicks)


# The starter loop: Dm G Bb C, one chord a bar.
CHORDS_STARTER = [(50, 53, 57), (55, 59, 62), (46, 50, 53), (48, 52, 55)]
BASS_STARTER = [38, 31, 34, 36]


def render_starter():
    """8 bars: an intro of pads, arp and hats, then the drop at bar 5."""
    bars = 8
    mix = Mix(bars * BAR)
    banks()
    K, CL, HC, CR = kick(), clap(), hat(), crash()
    kicks = []
    for bar in range(bars):
        t0 = bar * BAR
        chord = CHORDS_STARTER[bar % 4]
        drop = bar >= 4
        pad = pad_chord(chord, BAR - 0.05, 2200.0 if drop else 400.0 * 2 ** bar)
        mix.add("pads", t0, pad, 0.5 if drop else 0.7)
        mix.add("send", t0, pad, 0.2)
        tones = [chord[0] + 12, chord[1] + 12, chord[2] + 12, chord[0] + 24, chord[1] + 24]
        for s in range(16):
            m = tones[ARP_STEPS[s]]
            mix.add("arp", t0 + s * SIXTEENTH, pluck_note(m, SIXTEENTH * 0.7, 0.5 + 0.5 * drop),
                    0.24 if s % 4 == 0 else 0.17, 0.35 if s % 2 else -0.35)
        if bar >= 2:
            for s in range(0, 16, 2):
                mix.add("drums", t0 + s * SIXTEENTH, HC, 0.22 if s % 4 == 0 else 0.14, -0.3)
        if drop:
            for b in range(4):
                mix.add("drums", t0 + b * BEAT, K, 0.8)
                kicks.append(t0 + b * BEAT)
                mix.add("bass", t0 + b * BEAT + BEAT / 2, bass_note(BASS_STARTER[bar % 4], BEAT * 0.42), 0.55)
            for b in (1, 3):
                mix.add("drums", t0 + b * BEAT, CL, 0.5, 0.05)
        if bar == 4:
            mix.add("drums", t0, CR, 0.5, 0.2)
            mix.add("send", t0, CR, 0.2)
    return master(mix, kicks)


def encode_ogg(wav_path, ogg_path):
    """OGG Vorbis at about 64 kbit/s, bit-exact so every run writes the same bytes."""
    os.makedirs(os.path.dirname(os.path.abspath(ogg_path)), exist_ok=True)
    subprocess.run(["ffmpeg", "-hide_banner", "-loglevel", "error", "-y", "-i", wav_path,
                    "-c:a", "libvorbis", "-q:a", "0", "-fflags", "+bitexact",
                    "-flags:a", "+bitexact", "-map_metadata", "-1", ogg_path], check=True)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument("--out", default=os.path.join(root, "data", "music", "Tundrel.mp3"))
    ap.add_argument("--wav", help="also keep the rendered WAV here")
    ap.add_argument("--test-clip", metavar="OUT.mp3", help="write a short test loop instead")
    ap.add_argument("--seconds", type=float, default=3.0, help="length of the test loop")
    ap.add_argument("--starter", metavar="OUT.ogg", help="write the starter demo's loop instead")
    args = ap.parse_args()
    encode = encode_mp3
    if args.starter:
        audio = render_starter()
        out = args.starter
        encode = encode_ogg
    elif args.test_clip:
        audio = render_test_clip(max(0.5, args.seconds))
        out = args.test_clip
    else:
        audio = render(TOTAL_SECONDS, 84)
        out = args.out
    with tempfile.TemporaryDirectory() as tmp:
        wav = args.wav or os.path.join(tmp, "music.wav")
        write_wav(wav, audio)
        encode(wav, out)
    rms = 20 * np.log10(np.sqrt(np.mean(audio ** 2)) + 1e-12)
    print("wrote %s: %.2f s, peak %.2f dBFS, rms %.1f dBFS" % (
        out, audio.shape[1] / SR, 20 * np.log10(np.abs(audio).max()), rms))
    return 0


if __name__ == "__main__":
    sys.exit(main())
