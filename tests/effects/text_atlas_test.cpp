// The font atlas against the text effect's texture coordinates: whatever the image shader may
// sample for a glyph's quad holds no pixel of another glyph, and every glyph keeps far enough from
// the edges of its cell that the wave never moves it off its quad.
#include <gtest/gtest.h>
#include <cmath>
#include <vector>
#include "effects/Text.h"
#include "resources/FileBytes.h"
#include "resources/PngReport.h"

TEST(TextAtlas, AroundEveryGlyphTheWaveReadsOnlyBlankTexels)
{
    std::vector<uint8_t> file, rgba;
    uint32_t size = 0, height = 0;
    ASSERT_TRUE(readWholeFile(ZEMBLAR_SOURCE_DIR "/data/textures/profont.png", file));
    ASSERT_TRUE(decodePngReported(file, rgba, size, height));
    ASSERT_EQ(size, height);
    // The image shader's wave (state 4) moves the sample up to 0.015 sideways; linear filtering
    // reads half a texel further; outside the texture it is mirrored back.
    const int n = static_cast<int>(size), cell = n / 16;
    const double reach = 0.015 * n + 0.5;
    auto mirror = [n](int i) { return i < 0 ? -i - 1 : i >= n ? 2 * n - i - 1 : i; };
    for (int code = 1; code < 256; ++code) {
        const GlyphTexcoords t = glyphTexcoords(static_cast<unsigned char>(code));
        const int x0 = static_cast<int>(std::floor(t.u0 * n - reach));
        const int x1 = static_cast<int>(std::ceil(t.u1 * n + reach));
        const int y0 = static_cast<int>(std::floor((1 - t.v1) * n - 0.5));
        const int y1 = static_cast<int>(std::ceil((1 - t.v0) * n + 0.5));
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                const int tx = mirror(x), ty = mirror(y);
                const bool inside = x == tx && y == ty && x % cell >= reach && x % cell + 1 <= cell - reach;
                if (inside && ty / cell * 16 + tx / cell == code) continue;
                ASSERT_EQ(rgba[(static_cast<size_t>(ty) * n + tx) * 4 + 3], 0) << code << " reads " << tx << "," << ty;
            }
    }
}
