// Text effect: one line of bitmap-font text from the 16 x 16 glyph grid of "profont.png": glyphs
// 0.5 wide and 1 high, advance 0.5, along +x from the effect's origin. No line breaks, no kerning;
// every byte is drawn as its cell. Empty text draws nothing, children included.
//
// Each glyph is its whole atlas cell on an alpha-blended quad of its own place, so a square cell is
// drawn at half its width. While the glyphs are drawn, a program's "glyphcells" uniform is 16 (the
// cells per side of the atlas) so that a program which moves its sample point (the image program's
// wave) can keep it inside the glyph's own cell; the common effect draw sets it to 0 for everything
// else. Texels of alpha 0 are dropped by the alpha test, so a cell's blank part leaves no depth
// behind that would hide what is drawn later behind the text.
#pragma once
#include <string>
#include "effects/Demoeffect.h"

// Where the glyph of a byte lies in the font atlas, in texture coordinates: its whole cell, column
// code mod 16 and row code div 16 counted from the image top (t = 1).
struct GlyphCell {
    float u0, v0, u1, v1;
};
GlyphCell glyphCell(unsigned char code);

class Text : public Demoeffect {
public:
    Text();
    Text(const Text&) = default;
    void update() override;
    void draw() override;
    Demoeffect* clone() override;
    // "text;STRING" replaces the text, "append;STRING" adds to it; other words print
    // "failed local: WORD ARG".
    void local(float time, char* argument) override;

    std::string text;

private:
    void drawGlyphs() const;
    void markGlyphCells() const;
};
