// Text effect under a real context: glyph quads read back from a framebuffer, the local words, the
// frame-rate line, and empty text hiding the children.
#include <gtest/gtest.h>
#include <cstdio>
#include <memory>
#include <vector>
#include "effects/EffectRegistry.h"
#include "effects/Text.h"
#include "support/CaptureStdout.h"
#include "support/GlFixture.h"
#include "support/RenderTarget.h"
#include "support/TempDir.h"

namespace {

struct Probe : Demoeffect {
    int draws = 0;
    void draw() override { ++draws; }
};

// A glyph (0.5 x 1 units) covers 16 x 16 pixels of a 16 pixel high target: one texel per pixel of
// a 256 x 256 coordinate font.
void setGlyphProjection(int width)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width / 32.0, 0, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

std::unique_ptr<Text> newText()
{
    std::unique_ptr<Text> t;
    capturedStdout([&] { t.reset(static_cast<Text*>(createEffect("text"))); });  // the font is absent
    return t;
}

} // namespace

using TextGl = GlTest;

TEST_F(TextGl, GlyphQuadsSampleTheirCells)
{
    auto text = newText();
    text->texture = makeCoordinateTexture(256, 1);
    char command[] = "text;AB";
    text->local(0, command);
    RenderTarget target(64, 16);
    setGlyphProjection(64);
    text->draw();
    const std::vector<uint8_t> px = target.read();
    auto at = [&](int x, int y) { return &px[(static_cast<size_t>(y) * 64 + x) * 4]; };
    // "A" (65): column 1, row 4 from the top: texels x 16..31, y 176..191. "B" (66): x 32..47.
    // Nothing right of x = 1 (pixel 32).
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 64; ++x) {
            const int expected = x < 32 ? (16 + x) * 256 + 176 + y : 0; // red * 256 + green
            ASSERT_EQ(at(x, y)[0] * 256 + at(x, y)[1], expected) << x << "," << y;
            ASSERT_EQ(at(x, y)[3], x < 32 ? 255 : 0) << x << "," << y;
        }

    // The frame-rate line is drawn in full: 13 glyphs; the last, "s" (115: column 3, row 7), ends
    // at pixel 208.
    char line[64];
    std::snprintf(line, sizeof line, "text;%lf fps", 59.94);
    text->local(0, line);
    ASSERT_EQ(text->text, "59.940000 fps");
    RenderTarget wide(256, 16);
    setGlyphProjection(256);
    text->draw();
    const std::vector<uint8_t> fps = wide.read();
    EXPECT_EQ(fps[207 * 4 + 0], 48 + 15);
    EXPECT_EQ(fps[207 * 4 + 1], 128);
    EXPECT_EQ(fps[208 * 4 + 3], 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextGl, MissingFontIsReportedAndLocalWordsEditTheText)
{
    ScopedWorkDir dir;
    std::unique_ptr<Text> text;
    const std::string out = capturedStdout([&] { text.reset(static_cast<Text*>(createEffect("text"))); });
    EXPECT_NE(out.find("Couldn't find texture: profont.png"), std::string::npos) << out;
    EXPECT_EQ(text->shaderProgram, 0u);
    char append[] = "append;Hi", more[] = "append;!;ignored", other[] = "blink;fast", bare[] = "text";
    text->local(0, append); // onto the empty text
    text->local(0, more);
    EXPECT_EQ(text->text, "Hi!");
    EXPECT_EQ(capturedStdout([&] { text->local(0, other); }), "failed local: blink fast");
    text->local(0, bare); // no ';': the argument is empty
    EXPECT_EQ(text->text, "");
}

TEST_F(TextGl, EmptyTextHidesItselfAndItsChildren)
{
    auto text = newText();
    Probe child;
    text->addChild(&child);
    text->motion.point[0] = 3;
    text->draw();
    EXPECT_EQ(child.draws, 0);
    float m[16];
    readModelView(m);
    EXPECT_EQ(m[12], 0.0f); // not even the transform was applied
    char command[] = "text;x";
    text->local(0, command);
    text->draw();
    EXPECT_EQ(child.draws, 1);
}
