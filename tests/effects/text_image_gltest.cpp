// Text and Image, the blended fixed-function quads, under a real context: glyph and image pixels
// read back, the local words and empty text hiding the children.
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <utility>
#include <vector>
#include "effects/EffectRegistry.h"
#include "effects/Text.h"
#include "RunLocal.h"
#include "support/CaptureMessages.h"
#include "support/GlFixture.h"
#include "support/TempDir.h"

using TextImageGl = GlTest;

namespace {
struct Probe : Demoeffect {
    int draws = 0;
    void draw() override { ++draws; }
};
} // namespace

TEST_F(TextImageGl, TextReportsAMissingFontHidesWhenEmptyAndDrawsGlyphQuadsFromTheirCells)
{
    ScopedWorkDir dir;
    std::unique_ptr<Text> text;
    const std::string out = capturedMessages([&] { text.reset(static_cast<Text*>(createEffect("text"))); });
    EXPECT_NE(out.find("Couldn't find texture: profont.png"), std::string::npos) << out;
    Probe child;
    text->addChild(&child);
    text->draw();
    EXPECT_EQ(child.draws, 0);
    runLocal(*text, "append;Hi append;!;ignored"); // onto the empty text
    EXPECT_EQ(text->text, "Hi!");
    EXPECT_EQ(capturedMessages([&] { runLocal(*text, "blink;fast"); }), "failed local: blink fast");

    // A glyph (0.5 x 1 units) covers 16 x 16 pixels of a 16 pixel high target; its quad, twice as
    // wide and centred on it, shows its cell of a 256 x 256 coordinate font, two pixels a texel
    // across and one down.
    text->texture = makeCoordinateTexture(256, 1);
    runLocal(*text, "text;AB");
    DrawTarget target(64, 16);
    glMatrixMode(GL_PROJECTION);
    glOrtho(0, 2, 0, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    text->draw();
    EXPECT_EQ(child.draws, 1);
    // "A" (65): column 1, row 4 from the top: texels x 16..31, y 176..191, on pixels -8..23; "B"
    // (66), drawn over it from pixel 8 to 39: x 32..47. Nothing right of x = 1.25 (pixel 40).
    for (const auto& [x, y] : {std::pair<int, int>{0, 0}, {7, 15}, {8, 7}, {39, 8}, {40, 8}, {63, 15}}) {
        const std::vector<uint8_t> p = target.pixel(x, y);
        const int texel = x < 8 ? 16 + (x + 8) / 2 : 32 + (x - 8) / 2;
        EXPECT_EQ(p[0] * 256 + p[1], x < 40 ? texel * 256 + 176 + y : 0) << x << "," << y;
        EXPECT_EQ(p[3], x < 40 ? 255 : 0) << x << "," << y;
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextImageGl, ImageQuadCoversTheCentreUprightAndBlends)
{
    // The default view -1..1 on a 64 x 64 target: the unit quad covers pixels 16..47, one texel per
    // pixel of a 32 x 32 coordinate texture.
    std::unique_ptr<Demoeffect> image(createEffect("image"));
    image->texture = makeCoordinateTexture(32, 8);
    DrawTarget target(64, 64, {0, 0, 1, 1});
    image->draw();
    // {x, y, red, green, blue}: the quad's corners (t = 1 at the top) and the blue just outside.
    const int samples[][5] = {{16, 16, 0, 0, 0}, {47, 47, 248, 248, 0}, {15, 32, 0, 0, 255}, {32, 48, 0, 0, 255}};
    for (const auto& s : samples)
        for (int c = 0; c < 3; ++c) EXPECT_EQ(target.pixel(s[0], s[1])[c], s[c + 2]) << s[0] << "," << s[1];

    image->texture = makeCoordinateTexture(32, 8, 128); // half transparent
    target.clear();
    image->draw();
    const std::vector<uint8_t> p = target.pixel(47, 47); // texel (31, 31): red 248
    EXPECT_NEAR(p[0], 248 * 128 / 255, 2);
    EXPECT_NEAR(p[2], 255 - 128, 2);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
