// Text under a real context: the local words, empty text drawing neither itself nor its children,
// and the glyph quads read back from a crafted atlas, fixed-function and through the shipped image
// program with its sample-moving states. (A missing font is reported end to end.)
#include <gtest/gtest.h>
#include <filesystem>
#include <memory>
#include <string>
#include "effects/EffectRegistry.h"
#include "effects/Text.h"
#include "resources/ShaderLibrary.h"
#include "RunLocal.h"
#include "support/CaptureMessages.h"
#include "support/GlFixture.h"
#include "support/PngBuilder.h"
#include "support/TempDir.h"

using TextGl = GlTest;

namespace {
struct Probe : Demoeffect {
    int draws = 0;
    void draw() override { ++draws; }
};

// A 16 x 16 atlas of one-texel cells: 'A' green, 'B' blue, their neighbours '@' and 'C' red.
std::string fourCellAtlas()
{
    pngbuild::Bytes rows;
    for (int code = 0; code < 256; ++code) {
        const uint8_t red = code == '@' || code == 'C' ? 255 : 0, green = code == 'A' ? 255 : 0,
                      blue = code == 'B' ? 255 : 0;
        if (code % 16 == 0) rows.push_back(0); // filter: none
        rows.insert(rows.end(), {red, green, blue, uint8_t(red | green | blue)});
    }
    const pngbuild::Bytes png = pngbuild::makePng(16, 16, 8, 6, rows);
    return std::string(png.begin(), png.end());
}
} // namespace

// "AB" drawn over x 0..1 of a 64-pixel-wide target: 'A' on pixels 0..31, 'B' on 32..63, each its
// own cell only. Fixed-function with nearest filtering shows the quads; the image program with
// linear filtering, the wave and the beat's colour split (both move the sample point into the next
// cells at time 0) must still read nothing outside each glyph's cell. An image drawn next with the
// program is no text to it. Empty text draws neither itself nor its children.
TEST_F(TextGl, LocalWordsBuildTheTextAndEachGlyphFillsItsHalfUnitWithItsOwnCellOnly)
{
    ScopedWorkDir dir;
    dir.write("data/textures/profont.png", fourCellAtlas());
    std::filesystem::copy(std::filesystem::path(ZEMBLAR_SOURCE_DIR) / "data" / "shaders", "data/shaders");
    linkShaderProgram("image", "image.vert", "image.frag", "");
    const GLuint image = findShaderProgram("image");
    std::unique_ptr<Text> text(static_cast<Text*>(createEffect("text")));
    Probe child;
    text->addChild(&child);
    text->draw();
    EXPECT_EQ(child.draws, 0);
    runLocal(*text, "append;A append;B;ignored"); // onto the empty text
    EXPECT_EQ(text->text, "AB");
    EXPECT_EQ(capturedMessages([&] { runLocal(*text, "blink;fast"); }), "failed local: blink fast");
    text->state = 4 | 16;
    DrawTarget target(64, 8);
    glMatrixMode(GL_PROJECTION);
    glOrtho(0, 1, 0, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    for (const GLuint program : {0u, image}) {
        SCOPED_TRACE(program ? "image program" : "fixed-function");
        glBindTexture(GL_TEXTURE_2D, text->texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, program ? GL_LINEAR : GL_NEAREST);
        text->shaderProgram = program;
        target.clear();
        glLoadIdentity();
        text->draw();
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 64; ++x)
                ASSERT_EQ(target.pixel(x, y),
                          (std::vector<uint8_t>{0, uint8_t(x < 32 ? 255 : 0), uint8_t(x < 32 ? 0 : 255), 255}))
                    << x << "," << y;
    }
    EXPECT_EQ(child.draws, 2);
    runLocal(*text, "text;");
    text->draw();
    EXPECT_EQ(child.draws, 2);
    std::unique_ptr<Demoeffect> picture(createEffect("image"));
    picture->shaderProgram = image;
    picture->draw();
    GLint cells = -1;
    glGetUniformiv(image, glGetUniformLocation(image, "glyphcells"), &cells);
    EXPECT_EQ(cells, 0);
    glUseProgram(0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
