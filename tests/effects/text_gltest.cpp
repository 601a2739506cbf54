// Text effect under a real context: glyph quads read back from a framebuffer, the local words,
// empty text hiding the children, the frame-rate line and the GL state left behind.
#include <gtest/gtest.h>
#include <cstdio>
#include <memory>
#include <vector>
#include "effects/EffectRegistry.h"
#include "effects/Text.h"
#include "support/GlFixture.h"
#include "support/TempDir.h"

namespace {

// An offscreen colour target of the given size, bound for drawing while it lives.
struct RenderTarget {
    GLuint fbo = 0, colour = 0;
    int width, height;
    RenderTarget(int w, int h) : width(w), height(h)
    {
        glGenRenderbuffers(1, &colour);
        glBindRenderbuffer(GL_RENDERBUFFER, colour);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, w, h);
        glGenFramebuffers(1, &fbo);
        glBindFramebuffer(GL_FRAMEBUFFER, fbo);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
        glViewport(0, 0, w, h);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    ~RenderTarget()
    {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &fbo);
        glDeleteRenderbuffers(1, &colour);
    }
    std::vector<uint8_t> read() const
    {
        std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }
};

// A 256 x 256 font texture whose texel (x, y) holds red x and green y (y counted from t = 0), so
// every drawn pixel tells exactly which texel it came from.
GLuint makeCoordinateFont()
{
    std::vector<uint8_t> texels(256 * 256 * 4);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            uint8_t* t = &texels[(static_cast<size_t>(y) * 256 + x) * 4];
            t[0] = static_cast<uint8_t>(x); t[1] = static_cast<uint8_t>(y); t[2] = 0; t[3] = 255;
        }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 256, 256, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return name;
}

struct Probe : Demoeffect {
    int draws = 0;
    void draw() override { ++draws; }
};

// A glyph (0.5 x 1 units) covers 16 x 16 pixels of a 16 pixel high target: one texel per pixel.
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
    testing::internal::CaptureStdout(); // the font file is absent here; its message is not checked
    std::unique_ptr<Text> t(static_cast<Text*>(createEffect("text")));
    testing::internal::GetCapturedStdout();
    return t;
}

} // namespace

using TextGl = GlTest;

TEST_F(TextGl, ConstructorAsksForTheFontAndUsesNoProgram)
{
    ScopedWorkDir dir;
    testing::internal::CaptureStdout();
    std::unique_ptr<Demoeffect> e(createEffect("text"));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Couldn't find texture: profont.png"), std::string::npos) << out;
    ASSERT_NE(dynamic_cast<Text*>(e.get()), nullptr);
    EXPECT_EQ(e->shaderProgram, 0u);
    EXPECT_EQ(e->texture, 0u);
}

TEST_F(TextGl, GlyphQuadsSampleTheirCells)
{
    auto text = newText();
    text->texture = makeCoordinateFont();
    char command[] = "text;AB";
    text->local(0, command);
    RenderTarget target(64, 16);
    setGlyphProjection(64);
    text->draw();
    const std::vector<uint8_t> px = target.read();
    auto at = [&](int x, int y) { return &px[(static_cast<size_t>(y) * 64 + x) * 4]; };
    // "A" (65): column 1, row 4 from the top: texels x 16..31, y 176..191. "B" (66): x 32..47.
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            ASSERT_EQ(at(x, y)[0], 16 + x) << x << "," << y;
            ASSERT_EQ(at(x, y)[1], 176 + y) << x << "," << y;
            ASSERT_EQ(at(16 + x, y)[0], 32 + x) << x << "," << y;
            ASSERT_EQ(at(16 + x, y)[1], 176 + y) << x << "," << y;
        }
    // Nothing right of x = 1 (pixel 32).
    for (int y = 0; y < 16; ++y)
        for (int x = 32; x < 64; ++x) ASSERT_EQ(at(x, y)[3], 0) << x << "," << y;
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextGl, LocalWords)
{
    auto text = newText();
    char append[] = "append;Hi";
    text->local(0, append);
    EXPECT_EQ(text->text, "Hi");
    char more[] = "append;!;ignored";
    text->local(0, more);
    EXPECT_EQ(text->text, "Hi!");
    char other[] = "blink;fast";
    testing::internal::CaptureStdout();
    text->local(0, other);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "failed local: blink fast");
    EXPECT_EQ(text->text, "Hi!");
    char bare[] = "text"; // no ';': the argument is empty
    text->local(0, bare);
    EXPECT_EQ(text->text, "");
    std::unique_ptr<Demoeffect> copy(text->clone());
    char again[] = "text;x";
    text->local(0, again);
    EXPECT_EQ(static_cast<Text*>(copy.get())->text, "");
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

TEST_F(TextGl, FrameRateLineIsDrawnInFull)
{
    auto text = newText();
    text->texture = makeCoordinateFont();
    char line[64];
    std::snprintf(line, sizeof line, "text;%lf fps", 59.94);
    text->local(0, line);
    ASSERT_EQ(text->text, "59.940000 fps");
    RenderTarget target(256, 16);
    setGlyphProjection(256);
    text->draw();
    const std::vector<uint8_t> px = target.read();
    // 13 glyphs of 16 pixels; the last one ("s", 115: column 3, row 7) ends at pixel 208.
    EXPECT_EQ(px[(207 + 0) * 4 + 0], 48 + 15);
    EXPECT_EQ(px[(207 + 0) * 4 + 1], 128);
    EXPECT_EQ(px[208 * 4 + 3], 0);
}

TEST_F(TextGl, BlendAndTextureStateAreRestoredColourIsWhite)
{
    auto text = newText();
    char command[] = "text;Q";
    text->local(0, command);
    for (bool before : {false, true}) {
        if (before) { glEnable(GL_BLEND); glEnable(GL_TEXTURE_2D); }
        else { glDisable(GL_BLEND); glDisable(GL_TEXTURE_2D); }
        glBlendFunc(GL_ONE, GL_ZERO);
        glColor3f(0.2f, 0.3f, 0.4f);
        glLoadIdentity();
        text->draw();
        EXPECT_EQ(glIsEnabled(GL_BLEND), before ? GL_TRUE : GL_FALSE);
        EXPECT_EQ(glIsEnabled(GL_TEXTURE_2D), before ? GL_TRUE : GL_FALSE);
        GLint src = 0, dst = 0;
        glGetIntegerv(GL_BLEND_SRC_RGB, &src);
        glGetIntegerv(GL_BLEND_DST_RGB, &dst);
        EXPECT_EQ(src, GL_SRC_ALPHA);
        EXPECT_EQ(dst, GL_ONE_MINUS_SRC_ALPHA);
        float colour[4];
        glGetFloatv(GL_CURRENT_COLOR, colour);
        EXPECT_EQ(colour[0] + colour[1] + colour[2], 3.0f);
    }
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
}
