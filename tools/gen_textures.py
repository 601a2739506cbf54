#!/usr/bin/python3
# Generates the demo's procedural textures in data/textures/ with numpy and
# pypng (the `png` module).  Every picture is made here from noise and
# formulas; the files deliberately use many PNG colour types, bit depths and
# both interlace methods so that running the demo exercises the decoder.
#
#   file          size      colour type        depth  interlace  use
#   sky.png       512x256   2 RGB              8      none       nebula + stars for the sky dome
#   plasma.png    256x256   2 RGB              16     Adam7      smooth colour plasma
#   logo.png      512x128   6 RGBA             8      Adam7      "ZEMBLAR" title with glow
#   flare.png     128x128   6 RGBA             16     none       lens ring / flare sprite
#   particle.png  64x64     4 grey + alpha     8      none       soft round particle sprite
#   metal.png     256x256   0 grey             8      none       brushed metal
#   halftone.png  128x128   0 grey             4      Adam7      dot screen for spheres
#   checker.png   64x64     0 grey + tRNS key  1      none       checker, black cells transparent
#   grid.png      256x256   3 palette + tRNS   2      none       neon grid, transparent cells
#   lava.png      256x256   3 palette + tRNS   8      Adam7      glowing lava, alpha from palette
#
# Usage: /usr/bin/python3 tools/gen_textures.py [OUTPUT_DIR]
# (default data/textures next to this script's directory).  Deterministic:
# the same script writes the same files.
import os
import sys

import numpy as np
import png
from PIL import Image, ImageDraw, ImageFilter, ImageFont

RNG = np.random.default_rng(7349)
BOLD_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"


def spectral_noise(h, w, beta=2.0, seed_rng=RNG):
    """Tileable fractal noise in 0..1: random phases, amplitude 1/f^(beta/2)."""
    fy = np.fft.fftfreq(h)[:, None]
    fx = np.fft.rfftfreq(w)[None, :]
    f = np.sqrt(fx * fx + fy * fy)
    f[0, 0] = 1.0
    amp = f ** (-beta / 2.0)
    amp[0, 0] = 0.0
    phase = seed_rng.uniform(0, 2 * np.pi, amp.shape)
    n = np.fft.irfft2(amp * np.exp(1j * phase), s=(h, w))
    n -= n.min()
    return n / n.max()


def gradient(stops, t):
    """Map t in 0..1 through colour stops [(pos, (r, g, b)), ...] to float RGB."""
    pos = np.array([s[0] for s in stops])
    cols = np.array([s[1] for s in stops], dtype=np.float64)
    t = np.clip(t, 0, 1)
    return np.stack([np.interp(t, pos, cols[:, c]) for c in range(3)], axis=-1)


def write(path, rows, width, height, **kw):
    with open(path, "wb") as f:
        png.Writer(width, height, compression=9, **kw).write(f, rows)


def to_rows(a):
    """(h, w, c) array -> list of flat rows for pypng."""
    h, w = a.shape[:2]
    return [list(r) for r in a.reshape(h, -1).tolist()]


def sky(out):
    h, w = 256, 512
    n1 = spectral_noise(h, w, 2.6)
    n2 = spectral_noise(h, w, 1.8)
    y = np.linspace(0, 1, h)[:, None]
    band = np.exp(-((y - 0.45 - 0.08 * np.sin(np.linspace(0, 2 * np.pi, w))[None, :]) ** 2) / 0.03)
    neb = np.clip((n1 - 0.35) * 1.8, 0, 1) * (0.35 + 0.65 * band)
    col = gradient([(0.0, (4, 3, 16)), (0.3, (22, 10, 60)), (0.55, (95, 25, 120)),
                    (0.75, (220, 70, 140)), (0.9, (255, 170, 120)), (1.0, (255, 240, 210))], neb)
    teal = gradient([(0, (0, 0, 0)), (0.6, (0, 40, 60)), (1.0, (40, 200, 220))], n2 * band)
    img = col + teal * 0.6
    # stars: sparse points with a power-law brightness and a small soft core
    stars = np.zeros((h, w))
    count = 900
    ys = RNG.integers(0, h, count)
    xs = RNG.integers(0, w, count)
    bright = RNG.pareto(2.2, count) * 60 + 40
    np.add.at(stars, (ys, xs), bright)
    soft = stars + 0.25 * (np.roll(stars, 1, 0) + np.roll(stars, -1, 0)
                           + np.roll(stars, 1, 1) + np.roll(stars, -1, 1))
    img = img + soft[..., None] * np.array([0.9, 0.95, 1.0])
    a = np.clip(img, 0, 255).astype(np.uint8)
    write(os.path.join(out, "sky.png"), to_rows(a), w, h, greyscale=False, bitdepth=8)


def plasma(out):
    s = 256
    y, x = np.mgrid[0:s, 0:s] / s * 2 * np.pi
    v = (np.sin(x * 2) + np.sin(y * 3 + np.cos(x)) + np.sin((x + y) * 2)
         + np.sin(np.sqrt((np.sin(x) * 3) ** 2 + (np.cos(y) * 3) ** 2) * 2))
    v = (v - v.min()) / (v.max() - v.min())
    r = 0.5 + 0.5 * np.sin(2 * np.pi * v * 2)
    g = 0.5 + 0.5 * np.sin(2 * np.pi * v * 2 + 2.1)
    b = 0.5 + 0.5 * np.sin(2 * np.pi * v * 2 + 4.2)
    a = (np.stack([r, g, b], -1) * 65535).round().astype(np.uint16)
    write(os.path.join(out, "plasma.png"), to_rows(a), s, s, greyscale=False,
          bitdepth=16, interlace=True)


def logo(out):
    w, h = 512, 128
    text = "ZEMBLAR"
    font = ImageFont.truetype(BOLD_FONT, 96)
    mask = Image.new("L", (w, h), 0)
    d = ImageDraw.Draw(mask)
    box = d.textbbox((0, 0), text, font=font)
    tw, th = box[2] - box[0], box[3] - box[1]
    d.text(((w - tw) / 2 - box[0], (h - th) / 2 - box[1]), text, font=font, fill=255)
    m = np.asarray(mask, dtype=np.float64) / 255.0
    glow = np.asarray(mask.filter(ImageFilter.GaussianBlur(9)), dtype=np.float64) / 255.0
    edge = np.asarray(mask.filter(ImageFilter.FIND_EDGES), dtype=np.float64) / 255.0
    yy = np.linspace(0, 1, h)[:, None] * np.ones((1, w))
    face = gradient([(0.0, (255, 250, 220)), (0.45, (255, 180, 60)), (0.55, (230, 60, 110)),
                     (1.0, (120, 40, 200))], yy)
    rim = np.array([120, 240, 255.0])
    # colour is not premultiplied: the letters' face inside, cyan glow outside
    rgb = face * m[..., None] + rim * (1 - m)[..., None]
    rgb = rgb * (1 - edge[..., None] * 0.6) + 255.0 * 0.6 * edge[..., None]
    alpha = np.clip(np.maximum(m, glow * 1.3), 0, 1)
    a = np.concatenate([np.clip(rgb, 0, 255), (alpha * 255)[..., None]], -1).round().astype(np.uint8)
    write(os.path.join(out, "logo.png"), to_rows(a), w, h, greyscale=False, alpha=True,
          bitdepth=8, interlace=True)


def flare(out):
    s = 128
    y, x = (np.mgrid[0:s, 0:s] + 0.5 - s / 2) / (s / 2)
    r = np.sqrt(x * x + y * y)
    ang = np.arctan2(y, x)
    core = np.exp(-(r / 0.12) ** 2)
    ring = np.exp(-((r - 0.72) / 0.05) ** 2) * 0.8
    halo = np.exp(-(r / 0.45) ** 2) * 0.35
    rays = (np.abs(np.cos(ang * 4)) ** 40 + 0.5 * np.abs(np.cos(ang * 6 + 0.3)) ** 60) \
        * np.exp(-r / 0.35) * 0.9
    fade = np.clip((1.0 - r) / 0.1, 0, 1)
    inten = np.clip((core + ring + halo + rays) * fade, 0, 1)
    col = np.stack([
        0.75 + 0.25 * core + 0.0 * ring,
        0.8 + 0.2 * core - 0.1 * ring,
        1.0 + 0.0 * r,
    ], -1)
    col = np.clip(col, 0, 1)
    # ring tinted towards cyan/violet by angle
    tint = np.stack([0.6 + 0.4 * np.cos(ang), 0.8 + 0.2 * np.sin(ang), np.ones_like(ang)], -1)
    w_ring = (ring / (inten + 1e-6))[..., None]
    col = col * (1 - w_ring * 0.7) + tint * w_ring * 0.7
    a = np.concatenate([np.clip(col, 0, 1), inten[..., None]], -1)
    a = (a * 65535).round().astype(np.uint16)
    write(os.path.join(out, "flare.png"), to_rows(a), s, s, greyscale=False, alpha=True,
          bitdepth=16)


def particle(out):
    s = 64
    y, x = (np.mgrid[0:s, 0:s] + 0.5 - s / 2) / (s / 2)
    r = np.sqrt(x * x + y * y)
    alpha = np.clip(np.exp(-(r / 0.45) ** 2) * 1.1 - 0.02, 0, 1) * (r < 1)
    grey = np.clip(200 + 55 * np.exp(-(r / 0.25) ** 2), 0, 255)
    a = np.stack([grey, alpha * 255], -1).round().astype(np.uint8)
    write(os.path.join(out, "particle.png"), to_rows(a), s, s, greyscale=True, alpha=True,
          bitdepth=8)


def metal(out):
    s = 256
    streak = RNG.standard_normal((s, s // 16))
    streak = np.array(Image.fromarray(((streak - streak.min()) / np.ptp(streak) * 255)
                                      .astype(np.uint8)).resize((s, s), Image.BICUBIC),
                      dtype=np.float64) / 255.0
    fine = spectral_noise(s, s, 1.2)
    coarse = spectral_noise(s, s, 3.0)
    v = 0.45 + 0.25 * (streak - 0.5) + 0.15 * (fine - 0.5) + 0.35 * (coarse - 0.5)
    # rivets along the border of each 128-pixel panel
    y, x = np.mgrid[0:s, 0:s]
    for cy in (10, 118, 138, 246):
        for cx in range(10, s, 27):
            for (py, px) in ((cy, cx), (cx, cy)):
                d = np.sqrt((y - py) ** 2 + (x - px) ** 2)
                v += np.clip(1 - d / 3.5, 0, 1) * 0.35 - np.clip(1 - np.abs(d - 4.2), 0, 1) * 0.2
    seam = (np.abs(y % 128 - 0) < 1) | (np.abs(x % 128 - 0) < 1)
    v = np.where(seam, v * 0.4, v)
    a = (np.clip(v, 0, 1) * 255).round().astype(np.uint8)
    write(os.path.join(out, "metal.png"), [list(r) for r in a.tolist()], s, s,
          greyscale=True, bitdepth=8)


def halftone(out):
    s = 128
    y, x = np.mgrid[0:s, 0:s] + 0.5
    cell = 8.0
    cy, cx = (np.floor(y / cell) + 0.5) * cell, (np.floor(x / cell) + 0.5) * cell
    # dot radius follows a diagonal wave, so the pattern tiles
    level = 0.5 + 0.5 * np.sin(4 * np.pi * (cx + cy) / s)
    d = np.sqrt((y - cy) ** 2 + (x - cx) ** 2)
    rad = 0.8 + level * cell * 0.55
    v = np.clip(rad - d + 0.5, 0, 1)
    a = (v * 15).round().astype(np.uint8)
    write(os.path.join(out, "halftone.png"), [list(r) for r in a.tolist()], s, s,
          greyscale=True, bitdepth=4, interlace=True)


def checker(out):
    s = 64
    y, x = np.mgrid[0:s, 0:s]
    a = (((y // 8) + (x // 8)) % 2).astype(np.uint8)
    write(os.path.join(out, "checker.png"), [list(r) for r in a.tolist()], s, s,
          greyscale=True, bitdepth=1, transparent=0)


def grid(out):
    s = 256
    y, x = np.mgrid[0:s, 0:s]
    idx = np.zeros((s, s), np.uint8)            # 0: transparent cell
    idx[(x % 16 == 0) | (y % 16 == 0)] = 1      # dim lines
    idx[(x % 64 <= 1) | (y % 64 <= 1)] = 2      # bright lines
    idx[((x % 64 <= 1) & (y % 64 <= 1))] = 3    # crossing points
    palette = [(0, 0, 0, 0), (30, 120, 200, 140), (60, 230, 255, 255), (255, 90, 220, 255)]
    write(os.path.join(out, "grid.png"), [list(r) for r in idx.tolist()], s, s,
          palette=palette, bitdepth=2)


def lava(out):
    s = 256
    n = spectral_noise(s, s, 3.4)
    cracks = np.abs(spectral_noise(s, s, 3.0) - 0.5) * 2
    v = np.clip(0.75 * n + 0.6 * (1 - cracks) ** 10, 0, 1)
    idx = (v * 255).round().astype(np.uint8)
    t = np.arange(256) / 255.0
    pal = gradient([(0.0, (10, 2, 2)), (0.35, (70, 10, 5)), (0.6, (200, 40, 0)),
                    (0.8, (255, 140, 20)), (1.0, (255, 245, 180))], t).round().astype(int)
    alpha = np.clip(40 + t * 400, 0, 255).round().astype(int)
    palette = [tuple(int(c) for c in pal[i]) + (int(alpha[i]),) for i in range(256)]
    write(os.path.join(out, "lava.png"), [list(r) for r in idx.tolist()], s, s,
          palette=palette, bitdepth=8, interlace=True)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "data", "textures")
    os.makedirs(out, exist_ok=True)
    for make in (sky, plasma, logo, flare, particle, metal, halftone, checker, grid, lava):
        make(out)
    total = 0
    for name in sorted(os.listdir(out)):
        if name.endswith(".png"):
            total += os.path.getsize(os.path.join(out, name))
    print("wrote textures to %s (%d bytes of PNG in the directory)" % (out, total))
    return 0


if __name__ == "__main__":
    sys.exit(main())
