// Text effect: one line of bitmap-font text from the 16 x 16 glyph grid of "profont.png": glyphs
// 0.5 wide and 1 high, advance 0.5, along +x from the effect's origin. No line breaks, no kerning;
// every byte is drawn as its cell. Empty text draws nothing, children included.
//
// The atlas keeps each glyph in the middle of its cell with 9 of 32 columns blank on either side.
// A glyph is drawn as its whole cell on an alpha-blended quad twice the advance wide,
// centred on the glyph, overlapping its neighbours' quads by half: a shader that moves the sample
// point sideways (the image shader's wave, up to 0.015 of the texture) then neither cuts the glyph
// at its quad's edge nor reaches the glyph beside it in the atlas. Blank texels are dropped by the
// alpha test, so they leave no depth behind, and the glyphs pass the depth test where they meet.
#pragma once
#include <string>
#include "effects/Demoeffect.h"

// The texture coordinates of the quad of `code`: its 1/16 x 1/16 cell (t = 1 is the image top).
struct GlyphTexcoords {
    float u0, v0, u1, v1;
};
GlyphTexcoords glyphTexcoords(unsigned char code);

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
};
