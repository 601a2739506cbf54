#!/usr/bin/python3
"""Golden frames of the offline render test scene.

  golden.py make FRAMES_DIR GOLDEN_DIR     store the chosen frames, halved in size
  golden.py compare FRAMES_DIR GOLDEN_DIR  compare the chosen frames with the stored ones

Frames are reduced to 640 x 360 by averaging 2 x 2 blocks (keeps the goldens small and smooths
single-pixel rasterisation differences) and compared per channel with a tolerance of 2; a frame
passes when at most 0.05 % of its values lie outside it. A failing frame leaves
<name>.diff.png (differences amplified) next to the frames.
"""
import os
import sys

import numpy as np
from PIL import Image

# Frame numbers at 60 frames per second: start, mid-move, after the rotate, the last frame before END.
NAMES = ["frame_%06d.png" % n for n in [0, 45, 100, 150, 180]]
TOLERANCE = 2
MAX_OUTLIER_SHARE = 0.0005


def reduced(path):
    pixels = np.asarray(Image.open(path).convert("RGB"), dtype=np.float64)
    h, w, _ = pixels.shape
    return np.rint(pixels.reshape(h // 2, 2, w // 2, 2, 3).mean(axis=(1, 3))).astype(np.uint8)


def make(frames_dir, golden_dir):
    os.makedirs(golden_dir, exist_ok=True)
    for name in NAMES:
        Image.fromarray(reduced(os.path.join(frames_dir, name))).save(os.path.join(golden_dir, name), optimize=True)
    return 0


def compare(frames_dir, golden_dir):
    failed = 0
    for name in NAMES:
        got = reduced(os.path.join(frames_dir, name)).astype(np.int16)
        want = np.asarray(Image.open(os.path.join(golden_dir, name)).convert("RGB"), dtype=np.int16)
        diff = np.abs(got - want)  # frames of another size fail here
        share = (diff > TOLERANCE).sum() / diff.size
        print("%s: max difference %d, %.4f %% of values beyond %d" % (name, diff.max(), share * 100, TOLERANCE))
        if share > MAX_OUTLIER_SHARE:
            failed += 1
            Image.fromarray(np.clip(diff * 8, 0, 255).astype(np.uint8)).save(os.path.join(frames_dir, name + ".diff.png"))
    return 1 if failed else 0


if __name__ == "__main__":
    if len(sys.argv) != 4 or sys.argv[1] not in ("make", "compare"):
        sys.exit(__doc__)
    sys.exit((make if sys.argv[1] == "make" else compare)(sys.argv[2], sys.argv[3]))
