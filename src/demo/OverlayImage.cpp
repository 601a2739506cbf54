// Painting columns of an RGBA picture.
#include "demo/OverlayImage.h"
#include <algorithm>
#include <cmath>

namespace {
OverlayImage::Texel texelOf(const Rgba& c)
{
    const auto byte = [](float v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); };
    return OverlayImage::Texel{byte(c.r), byte(c.g), byte(c.b), byte(c.a)};
}

Rgba colourOf(const OverlayImage::Texel& t)
{
    return Rgba{t.r / 255.0f, t.g / 255.0f, t.b / 255.0f, t.a / 255.0f};
}
} // namespace

Rgba over(const Rgba& top, const Rgba& bottom)
{
    const float a = top.a + bottom.a * (1.0f - top.a);
    const auto mix = [&](float t, float b) { return a > 0.0f ? (t * top.a + b * bottom.a * (1.0f - top.a)) / a : 0.0f; };
    return Rgba{mix(top.r, bottom.r), mix(top.g, bottom.g), mix(top.b, bottom.b), a};
}

void OverlayImage::reset(const std::vector<Rgba>& columns, int height)
{
    width_ = static_cast<int>(columns.size());
    height_ = std::max(0, height);
    texels_.resize(columns.size() * static_cast<size_t>(height_));
    if (texels_.empty()) return;
    for (size_t x = 0; x < columns.size(); ++x) texels_[x] = texelOf(columns[x]);
    for (size_t y = 1; y < static_cast<size_t>(height_); ++y)
        std::copy(texels_.begin(), texels_.begin() + width_, texels_.begin() + static_cast<std::ptrdiff_t>(y * columns.size()));
}

bool OverlayImage::clip(int x, int& y0, int& y1) const
{
    y0 = std::max(y0, 0);
    y1 = std::min(y1, height_);
    return x >= 0 && x < width_ && y0 < y1;
}

void OverlayImage::fill(int x, int y0, int y1, const Rgba& c)
{
    if (!clip(x, y0, y1)) return;
    const Texel t = texelOf(c);
    for (int y = y0; y < y1; ++y) texels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)] = t;
}

void OverlayImage::blend(int x, int y0, int y1, const Rgba& c)
{
    if (!clip(x, y0, y1)) return;
    // A column is mostly runs of one texel: each run is blended once.
    Texel before{0, 0, 0, 0}, after = texelOf(over(c, colourOf(before)));
    for (int y = y0; y < y1; ++y) {
        Texel& t = texels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
        if (t.r != before.r || t.g != before.g || t.b != before.b || t.a != before.a) {
            before = t;
            after = texelOf(over(c, colourOf(t)));
        }
        t = after;
    }
}
