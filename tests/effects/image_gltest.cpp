// Image effect under a real context: the quad's pixels and orientation read back from a
// framebuffer, alpha blending, the GL state left behind, and the silent local handler.
#include <gtest/gtest.h>
#include <memory>
#include <vector>
#include "effects/EffectRegistry.h"
#include "effects/Image.h"
#include "support/GlFixture.h"

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
    }
    ~RenderTarget()
    {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &fbo);
        glDeleteRenderbuffers(1, &colour);
    }
    // Reads the whole target; pixel (x, y) starts at byte (y * width + x) * 4.
    std::vector<uint8_t> read() const
    {
        std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }
};

// A 32 x 32 texture whose texel (x, y) holds red 8x and green 8y (y from t = 0) with the given alpha.
GLuint makeCoordinateTexture(uint8_t alpha)
{
    std::vector<uint8_t> texels(32 * 32 * 4);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            uint8_t* t = &texels[(static_cast<size_t>(y) * 32 + x) * 4];
            t[0] = static_cast<uint8_t>(8 * x); t[1] = static_cast<uint8_t>(8 * y); t[2] = 0; t[3] = alpha;
        }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 32, 32, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return name;
}

// The view -1..1 on a 64 x 64 target: the unit quad covers pixels 16..47, one texel per pixel.
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
    ASSERT_NE(dynamic_cast<Image*>(image.get()), nullptr);
    EXPECT_EQ(image->shaderProgram, 0u);
    image->texture = makeCoordinateTexture(255);
    RenderTarget target(64, 64);
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    setView();
    image->draw();
    std::vector<uint8_t> px = target.read();
    auto at = [&](int x, int y) { return &px[(static_cast<size_t>(y) * 64 + x) * 4]; };
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const uint8_t* p = at(x, y);
            const bool inside = x >= 16 && x < 48 && y >= 16 && y < 48;
            if (inside) {
                ASSERT_EQ(p[0], 8 * (x - 16)) << x << "," << y;
                ASSERT_EQ(p[1], 8 * (y - 16)) << x << "," << y; // t = 1 at the top
                ASSERT_EQ(p[2], 0);
            } else {
                ASSERT_EQ(p[2], 255) << x << "," << y;
                ASSERT_EQ(p[0] + p[1], 0) << x << "," << y;
            }
        }
    // Scale and position move the quad: scale 0.5 at (0.5, 0.5) covers pixels 40..55.
    glClear(GL_COLOR_BUFFER_BIT);
    image->scale = 0.5;
    image->motion.point[0] = 0.5f;
    image->motion.point[1] = 0.5f;
    glLoadIdentity();
    image->draw();
    px = target.read();
    EXPECT_EQ(at(39, 47)[2], 255);
    EXPECT_EQ(at(40, 47)[2], 0);
    EXPECT_EQ(at(55, 55)[2], 0);
    EXPECT_EQ(at(56, 55)[2], 255);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ImageGl, HalfTransparentTexelsBlendWithTheBackground)
{
    Image image;
    image.texture = makeCoordinateTexture(128);
    RenderTarget target(64, 64);
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    setView();
    image.draw();
    const std::vector<uint8_t> px = target.read();
    const uint8_t* p = &px[(47 * 64 + 47) * 4]; // texel (31, 31): red 248
    EXPECT_NEAR(p[0], 248 * 128 / 255, 2);
    EXPECT_NEAR(p[2], 255 - 128, 2);
}

TEST_F(ImageGl, StateBeforeAndAfterAndSilentLocal)
{
    Image image;
    for (bool before : {false, true}) {
        if (before) { glEnable(GL_BLEND); glEnable(GL_TEXTURE_2D); }
        else { glDisable(GL_BLEND); glDisable(GL_TEXTURE_2D); }
        glBlendFunc(GL_ONE, GL_ONE);
        glColor3f(0.5f, 0.0f, 0.0f);
        glLoadIdentity();
        image.draw();
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

    char words[] = "text;hello;more";
    char bare[] = "anything";
    testing::internal::CaptureStdout();
    image.local(1.0f, words);
    image.local(1.0f, bare);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    std::unique_ptr<Demoeffect> copy(image.clone());
    ASSERT_NE(dynamic_cast<Image*>(copy.get()), nullptr);
}
