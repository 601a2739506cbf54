// Text effect: font texture, per-character quads, the "text" and "append" commands.
#include "effects/Text.h"
#include <cstdio>
#include <cstring>
#include <new>
#include "effects/BlendState.h"
#include "resources/ShaderLibrary.h"
#include "resources/TextureLibrary.h"

namespace {
constexpr int kCellsPerSide = 16;
constexpr float kCell = 1.0f / kCellsPerSide; // one glyph cell, in texture coordinates
constexpr float kAdvance = 0.5f;              // glyph width and advance in effect units

} // namespace

GlyphCell glyphCell(unsigned char code)
{
    const float u = static_cast<float>(code % kCellsPerSide) * kCell;
    const float v = 1.0f - static_cast<float>(code / kCellsPerSide + 1) * kCell;
    return {u, v, u + kCell, v + kCell};
}

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
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.0f);
    markGlyphCells();
    drawGlyphs();
    if (!hadAlphaTest) glDisable(GL_ALPHA_TEST);
}

// Set after the base draw: the children it drew may share the program and have reset the uniform.
void Text::markGlyphCells() const
{
    if (shaderProgram != 0) glUniform1i(effectUniforms(shaderProgram).glyphCells, kCellsPerSide);
}

// One quad per byte, the glyph's place: 0.5 wide, 1 high.
void Text::drawGlyphs() const
{
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char g = static_cast<unsigned char>(text[i]);
        if (g == 0) break;
        const GlyphCell t = glyphCell(g);
        const float x0 = kAdvance * static_cast<float>(i);
        const float x1 = kAdvance * static_cast<float>(i + 1);
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
