// Text under a real context: glyph pixels read back from their atlas cells, the local words and
// empty text hiding the children. (The image quad and its blending show in the golden frames.)
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

using TextGl = GlTest;

namespace {
struct Probe : Demoeffect {
    int draws = 0;
    void draw() override { ++draws; }
};
} // namespace

TEST_F(TextGl, TextHidesWhenEmptyAndDrawsGlyphQuadsFromTheirCells)
{
    ScopedWorkDir dir;
    std::unique_ptr<Text> text(static_cast<Text*>(createEffect("text"))); // no font: reported end to end
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
