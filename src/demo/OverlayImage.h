// A picture painted on the CPU for the editor's overlay, one texel a pixel with its first row at
// the bottom, to be drawn as one texture: a software renderer pays for every thin triangle and
// every layer of blending, while painting columns and lines here costs little. Colours are RGBA
// with straight (not premultiplied) alpha, as the alpha blend (source alpha, one minus source
// alpha) takes them.
#pragma once
#include <cstdint>
#include <vector>

struct Rgba {
    float r, g, b, a;
};

// `top` drawn over `bottom` with the alpha blend, as one colour.
Rgba over(const Rgba& top, const Rgba& bottom);

class OverlayImage {
public:
    struct Texel {
        uint8_t r, g, b, a;
    };

    // A picture as wide as `columns` and `height` high, each column all of its colour.
    void reset(const std::vector<Rgba>& columns, int height);
    int width() const { return width_; }
    int height() const { return height_; }
    // Rows y0 (included) to y1 (not) of column x set to c, or c drawn over them. Parts outside
    // the picture are left out.
    void fill(int x, int y0, int y1, const Rgba& c);
    void blend(int x, int y0, int y1, const Rgba& c);
    const Texel* texels() const { return texels_.data(); }

private:
    bool clip(int x, int& y0, int& y1) const;

    int width_ = 0, height_ = 0;
    std::vector<Texel> texels_;
};
