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
# black.  The text effect draws each cell on a quad half as wide as it is high,
# so each glyph is drawn stretched to twice its width: its advance box (the
# advance by ascent + descent, about 1 : 2) fills the cell inside a border of
# one blank texel.  The border keeps linear filtering at a quad's edge from
# mixing in the neighbouring cell.
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
BORDER = 1           # blank texels around the glyph on every side of its cell


def codes():
    return list(range(32, 127)) + list(range(160, 256))


INNER = CELL - 2 * BORDER


def line_font():
    """The font at the size whose ascent + descent is INNER x SUPER pixels."""
    probe = ImageFont.truetype(FONT, 1000)
    return ImageFont.truetype(FONT, round(1000 * INNER * SUPER / sum(probe.getmetrics())))


def render_cell(font, ch):
    """One glyph: its advance box drawn at SUPER x the size, then resized to
    the cell inside its border (twice as wide as drawn, relative to height)."""
    canvas = Image.new("L", (round(font.getlength(ch)), sum(font.getmetrics())), 0)
    ImageDraw.Draw(canvas).text((0, 0), ch, font=font, fill=255)
    return np.array(canvas.resize((INNER, INNER), Image.LANCZOS), dtype=np.uint8)


def build_atlas():
    font = line_font()
    alpha = np.zeros((16 * CELL, 16 * CELL), np.uint8)
    for g in codes():
        r, c = g // 16, g % 16
        y, x = r * CELL + BORDER, c * CELL + BORDER
        alpha[y:y + INNER, x:x + INNER] = render_cell(font, chr(g))
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
