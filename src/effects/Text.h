// Text effect: one line of bitmap-font text from the 16 x 16 glyph grid of "profont.png", drawn as
// alpha-blended quads (0.5 wide, 1 high, advance 0.5) along +x from the effect's origin. No line
// breaks, no kerning; every byte is drawn as its cell. Empty text draws nothing, children included.
#pragma once
#include <string>
#include "effects/Demoeffect.h"

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
