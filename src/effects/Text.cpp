// Text effect: font texture, per-character quads, the "text" and "append" commands.
#include "effects/Text.h"
#include <cstdio>
#include <cstring>
#include <new>
#include "effects/BlendState.h"
#include "resources/TextureLibrary.h"

namespace {
constexpr float kCell = 0.0625f;   // one glyph cell of the 16 x 16 grid, in texture coordinates
constexpr float kAdvance = 0.5f;   // glyph width and advance in effect units
} // namespace

Text::Text()
{
    texture = findTexture("profont.png");
    shaderProgram = 0;
}

Demoeffect* Text::clone()
{
    return new (std::nothrow) Text(*this);
}

void Text::local(float, char* argument)
{
    const LocalArgs a = splitLocal(argument);
    if (std::strcmp(a.word, "text") == 0) {
        text = a.args[0];
    } else if (std::strcmp(a.word, "append") == 0) {
        text += a.args[0];
    } else {
        std::printf("failed local: %s %s", a.word, a.args[0]);
    }
}

void Text::update()
{
    if (!text.empty()) Demoeffect::update();
}

void Text::draw()
{
    if (text.empty()) return;
    Demoeffect::draw();
    const AlphaBlendScope blend;
    drawGlyphs();
}

// One quad per byte; code g sits in column g mod 16 and row g div 16 counted from the image top,
// which is t = 1 in the texture.
void Text::drawGlyphs() const
{
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned g = static_cast<unsigned char>(text[i]);
        if (g == 0) break;
        const float u = static_cast<float>(g % 16) * kCell;
        const float v = 1.0f - static_cast<float>(g / 16 + 1) * kCell;
        const float x0 = kAdvance * static_cast<float>(i);
        const float x1 = kAdvance * static_cast<float>(i + 1);
        glColor3f(1, 1, 1);
        glBegin(GL_QUADS);
        glTexCoord2f(u, v + kCell);
        glVertex3f(x0, 1, 0);
        glTexCoord2f(u, v);
        glVertex3f(x0, 0, 0);
        glTexCoord2f(u + kCell, v);
        glVertex3f(x1, 0, 0);
        glTexCoord2f(u + kCell, v + kCell);
        glVertex3f(x1, 1, 0);
        glEnd();
    }
}
