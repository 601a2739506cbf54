// Text effect: font texture, per-character quads, the "text" and "append" commands.
#include "effects/Text.h"
#include <cstdio>
#include <cstring>
#include <new>
#include "effects/BlendState.h"
#include "resources/TextureLibrary.h"

namespace {
constexpr float kCell = 0.0625f; // one glyph cell of the 16 x 16 grid, in texture coordinates
constexpr float kAdvance = 0.5f; // glyph width and advance in effect units
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
        reportFailedLocal(a);
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
    const GLboolean hadAlphaTest = glIsEnabled(GL_ALPHA_TEST);
    GLint depthFunc = GL_LESS;
    glGetIntegerv(GL_DEPTH_FUNC, &depthFunc);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.0f);
    glDepthFunc(GL_LEQUAL); // a glyph's soft edge must not hide the glyph drawn over it
    drawGlyphs();
    glDepthFunc(static_cast<GLenum>(depthFunc));
    if (!hadAlphaTest) glDisable(GL_ALPHA_TEST);
}

// Code g sits in column g mod 16 and row g div 16 counted from the image top, which is t = 1.
GlyphTexcoords glyphTexcoords(unsigned char code)
{
    const float u = static_cast<float>(code % 16) * kCell;
    const float v = 1.0f - static_cast<float>(code / 16 + 1) * kCell;
    return {u, v, u + kCell, v + kCell};
}

// One quad per byte, twice the advance wide and centred on the glyph's place.
void Text::drawGlyphs() const
{
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char g = static_cast<unsigned char>(text[i]);
        if (g == 0) break;
        const GlyphTexcoords t = glyphTexcoords(g);
        const float x0 = kAdvance * (static_cast<float>(i) - 0.5f);
        const float x1 = x0 + 2 * kAdvance;
        glColor3f(1, 1, 1);
        glBegin(GL_QUADS);
        glTexCoord2f(t.u0, t.v1);
        glVertex3f(x0, 1, 0);
        glTexCoord2f(t.u0, t.v0);
        glVertex3f(x0, 0, 0);
        glTexCoord2f(t.u1, t.v0);
        glVertex3f(x1, 0, 0);
        glTexCoord2f(t.u1, t.v1);
        glVertex3f(x1, 1, 0);
        glEnd();
    }
}
