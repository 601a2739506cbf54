#!/usr/bin/python3
# Renders the demo's bitmap font "data/textures/profont.png" from the
# DejaVu Sans Mono TrueType font of Debian's fonts-dejavu-core package
# (Bitstream Vera licence, DejaVu changes in the public domain; the notice is
# copied to data/textures/profont-LICENSE.txt).
#
# Layout: 512 x 512 RGBA, a 16 x 16 grid of 32 x 32 cells; the glyph of code g
# sits in column g mod 16 and row g div 16, rows counted from the top.
# Codes 32-126 and 160-255 (Latin-1) are drawn, all others stay empty.
# Glyph pixels are white with the coverage in alpha, the rest transparent
# black.  Each glyph lies in columns 9-22 of its cell (its advance, narrowed
# from 15.7 to 14 pixels) with the rest of the cell blank; the text effect
# draws the whole cell on a quad twice as wide as the glyph's place, centred on
# it.  The image shader's wave moves the sample point up to 0.015 of the
# texture (7.7 texels) sideways, and linear filtering reaches half a texel
# further: with 9 blank columns on each side the wave neither pushes a glyph off
# its quad nor reaches the glyph beside it.  (A glyph stretched over its whole
# cell showed slivers of its neighbours.)  The top and bottom rows stay blank
# too, so linear filtering never reaches the cell above or below.
#
# Usage: /usr/bin/python3 tools/gen_font.py [OUTPUT.png]
import os
import sys

import numpy as np
import png
from PIL import Image, ImageDraw, ImageFont

FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf"
COPYRIGHT = "/usr/share/doc/fonts-dejavu-core/copyright"
CELL = 32
SUPER = 4            # supersampling factor for smooth edges
EM = 26              # em size in final pixels (ascent + descent just fit a cell)
MARGIN = 9           # blank columns on each side of a glyph


def codes():
    return list(range(32, 127)) + list(range(160, 256))


def render_cell(font, ch):
    """One glyph: drawn at SUPER x the size onto a canvas half a cell wide,
    then shrunk to the cell's height and the width between the margins."""
    w, h = CELL // 2 * SUPER, CELL * SUPER
    canvas = Image.new("L", (w, h), 0)
    d = ImageDraw.Draw(canvas)
    ascent, descent = font.getmetrics()
    advance = font.getlength(ch)
    top = (h - (ascent + descent)) / 2
    d.text(((w - advance) / 2, top), ch, font=font, fill=255)
    return np.array(canvas.resize((CELL - 2 * MARGIN, CELL), Image.LANCZOS), dtype=np.uint8)


def build_atlas():
    font = ImageFont.truetype(FONT, EM * SUPER)
    alpha = np.zeros((16 * CELL, 16 * CELL), np.uint8)
    for g in codes():
        glyph = render_cell(font, chr(g))
        glyph[0, :] = glyph[-1, :] = 0  # blank top and bottom rows
        r, c = g // 16, g % 16
        x = c * CELL + MARGIN
        alpha[r * CELL:(r + 1) * CELL, x:x + CELL - 2 * MARGIN] = glyph
    rgb = np.where(alpha > 0, 255, 0).astype(np.uint8)
    return np.stack([rgb, rgb, rgb, alpha], -1)


def write_licence(path):
    notice = ["The bitmap font profont.png is rendered by tools/gen_font.py from",
              "DejaVu Sans Mono (Debian package fonts-dejavu-core).", ""]
    try:
        with open(COPYRIGHT, encoding="utf-8") as f:
            notice.append(f.read())
    except OSError:
        notice.append("Copyright (c) 2003 by Bitstream, Inc. All Rights Reserved.\n"
                      "Bitstream Vera is a trademark of Bitstream, Inc.\n"
                      "DejaVu changes are in public domain.\n"
                      "Licence: Bitstream Vera Fonts licence (free, permissive).\n")
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(notice))


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "data", "textures", "profont.png")
    os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
    atlas = build_atlas()
    h, w = atlas.shape[:2]
    with open(out, "wb") as f:
        png.Writer(w, h, greyscale=False, alpha=True, bitdepth=8, compression=9).write(
            f, atlas.reshape(h, -1).tolist())
    write_licence(os.path.join(os.path.dirname(os.path.abspath(out)), "profont-LICENSE.txt"))
    print("wrote %s (%dx%d, %d glyphs)" % (out, w, h, len(codes())))
    return 0


if __name__ == "__main__":
    sys.exit(main())
