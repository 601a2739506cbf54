// Image effect under a real context: the quad's pixels and orientation read back from a
// framebuffer, alpha blending, the silent local handler, and the blend and texture state that
// image and text leave behind. Its placement is the base transform, tested with Demoeffect.
#include <gtest/gtest.h>
#include <memory>
#include <vector>
#include "effects/EffectRegistry.h"
#include "effects/Image.h"
#include "effects/Text.h"
#include "support/CaptureStdout.h"
#include "support/GlFixture.h"
#include "support/RenderTarget.h"

namespace {
const float kBlue[4] = {0, 0, 1, 1};

// The view -1..1 on a 64 x 64 target: the unit quad covers pixels 16..47, one texel per pixel of
// a 32 x 32 coordinate texture.
void setView()
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1, 1, -1, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
} // namespace

using ImageGl = GlTest;

TEST_F(ImageGl, QuadCoversTheCentreWithTheTextureUpright)
{
    std::unique_ptr<Demoeffect> image(createEffect("image"));
    EXPECT_EQ(image->shaderProgram, 0u);
    image->texture = makeCoordinateTexture(32, 8);
    RenderTarget target(64, 64, kBlue);
    setView();
    image->draw();
    const std::vector<uint8_t> px = target.read();
    auto at = [&](int x, int y) { return &px[(static_cast<size_t>(y) * 64 + x) * 4]; };
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const uint8_t* p = at(x, y);
            if (x >= 16 && x < 48 && y >= 16 && y < 48) {
                ASSERT_EQ(p[0], 8 * (x - 16)) << x << "," << y;
                ASSERT_EQ(p[1], 8 * (y - 16)) << x << "," << y; // t = 1 at the top
                ASSERT_EQ(p[2], 0);
            } else {
                ASSERT_EQ(p[2], 255) << x << "," << y;
                ASSERT_EQ(p[0] + p[1], 0) << x << "," << y;
            }
        }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ImageGl, HalfTransparentTexelsBlendAndLocalIsSilent)
{
    Image image;
    image.texture = makeCoordinateTexture(32, 8, 128);
    RenderTarget target(64, 64, kBlue);
    setView();
    image.draw();
    const std::vector<uint8_t> p = target.pixel(47, 47); // texel (31, 31): red 248
    EXPECT_NEAR(p[0], 248 * 128 / 255, 2);
    EXPECT_NEAR(p[2], 255 - 128, 2);

    char words[] = "text;hello;more";
    char bare[] = "anything";
    EXPECT_EQ(capturedStdout([&] { image.local(1.0f, words); image.local(1.0f, bare); }), "");
}

TEST_F(ImageGl, ImageAndTextRestoreBlendAndTextureAndDrawWhite)
{
    Image image;
    std::unique_ptr<Text> text;
    capturedStdout([&] { text.reset(new Text); });
    char command[] = "text;Q";
    text->local(0, command);
    for (Demoeffect* effect : {static_cast<Demoeffect*>(&image), static_cast<Demoeffect*>(text.get())})
        for (bool before : {false, true}) {
            if (before) { glEnable(GL_BLEND); glEnable(GL_TEXTURE_2D); }
            else { glDisable(GL_BLEND); glDisable(GL_TEXTURE_2D); }
            glBlendFunc(GL_ONE, GL_ONE);
            glColor3f(0.5f, 0.0f, 0.0f);
            glLoadIdentity();
            effect->draw();
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
