// The overlay's pixel space: projection and state pushed and popped around it, and the batched
// lines and glyph quads.
#include "shell/PixelCanvas.h"
#include "effects/Globals.h"
#include "effects/Text.h"

PixelCanvas::PixelCanvas(GLuint font) : font_(font)
{
    GLint viewport[4] = {0, 0, 1, 1};
    glGetIntegerv(GL_VIEWPORT, viewport);
    width_ = static_cast<float>(viewport[2]);
    height_ = static_cast<float>(viewport[3]);
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_TEXTURE_BIT | GL_COLOR_BUFFER_BIT | GL_POLYGON_BIT |
                 GL_LINE_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, width_, 0.0, height_, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glUseProgram(0);
    g_effects.boundProgram = 0;
    glBindVertexArray(0);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glDisable(GL_FOG);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glLineWidth(1.0f);
    glActiveTexture(GL_TEXTURE0);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

PixelCanvas::~PixelCanvas()
{
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
}

void PixelCanvas::rect(float x0, float y0, float x1, float y1, const Rgba& c) const
{
    glColor4f(c.r, c.g, c.b, c.a);
    glBegin(GL_QUADS);
    glVertex2f(x0, y0);
    glVertex2f(x1, y0);
    glVertex2f(x1, y1);
    glVertex2f(x0, y1);
    glEnd();
}

void PixelCanvas::image(const OverlayImage& picture, float x, float y, GLuint& texture) const
{
    if (picture.width() == 0 || picture.height() == 0) return;
    if (texture == 0) glGenTextures(1, &texture);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    GLint width = 0, height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    if (width == picture.width() && height == picture.height())
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, picture.texels());
    else
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, picture.width(), picture.height(), 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     picture.texels());
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    const float x1 = x + static_cast<float>(picture.width()), y1 = y + static_cast<float>(picture.height());
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE); // the texels as they are, a little cheaper
    glDisable(GL_BLEND);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(x, y);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(x1, y);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(x1, y1);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(x, y1);
    glEnd();
    glEnable(GL_BLEND);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glDisable(GL_TEXTURE_2D);
}

void PixelCanvas::beginText() const
{
    if (font_ == 0) return;
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, font_);
    glBegin(GL_QUADS);
}

void PixelCanvas::text(float x, float y, float size, const Rgba& c, const std::string& line) const
{
    if (font_ == 0) return;
    glColor4f(c.r, c.g, c.b, c.a);
    const float advance = 0.5f * size;
    for (size_t i = 0; i < line.size() && line[i] != '\0'; ++i, x += advance) {
        if (line[i] == ' ') continue;
        const GlyphCell cell = glyphCell(static_cast<unsigned char>(line[i]));
        glTexCoord2f(cell.u0, cell.v0);
        glVertex2f(x, y);
        glTexCoord2f(cell.u1, cell.v0);
        glVertex2f(x + advance, y);
        glTexCoord2f(cell.u1, cell.v1);
        glVertex2f(x + advance, y + size);
        glTexCoord2f(cell.u0, cell.v1);
        glVertex2f(x, y + size);
    }
}

void PixelCanvas::endText() const
{
    if (font_ == 0) return;
    glEnd();
    glDisable(GL_TEXTURE_2D);
}
