// Drawing in window pixels over the show, for the editor's overlay: while a PixelCanvas lives, the
// projection is orthographic with (0, 0) at the bottom left corner of the viewport and one unit a
// pixel, blending is on and the depth test, lighting and programs are off; the GL state before it
// comes back when it goes. Shapes are immediate-mode quads (pictures painted on the CPU among them,
// OverlayImage.h); text is the demo's own font (profont.png, each glyph its whole cell drawn half
// as wide as high, as the Text effect draws it), tinted by the vertex colour and batched between
// beginText() and endText(): a software renderer pays for every draw call.
#pragma once
#include <string>
#include "demo/OverlayImage.h"
#include "resources/Gl.h"

class PixelCanvas {
public:
    // `font` is the font atlas texture; 0 (it did not load) draws no text.
    explicit PixelCanvas(GLuint font);
    ~PixelCanvas();
    PixelCanvas(const PixelCanvas&) = delete;
    PixelCanvas& operator=(const PixelCanvas&) = delete;

    float width() const { return width_; }
    float height() const { return height_; }

    void rect(float x0, float y0, float x1, float y1, const Rgba& c) const;
    // The picture as a quad from (x, y) up and right, one texel a pixel, in place of what is
    // under it (its alpha is not used: blending costs a software renderer a third of the time).
    // `texture` is the GL texture it goes into (made when 0).
    void image(const OverlayImage& picture, float x, float y, GLuint& texture) const;

    // Lines of text between beginText() and endText(): glyphs standing on y from x on, `size`
    // pixels high and half as wide.
    void beginText() const;
    void text(float x, float y, float size, const Rgba& c, const std::string& line) const;
    void endText() const;
    static float textWidth(float size, size_t characters) { return 0.5f * size * static_cast<float>(characters); }

private:
    GLuint font_;
    float width_ = 0.0f, height_ = 0.0f;
};
