// Texture library under a real GL context: lookup order of the two paths, caching by the name as
// given, the two messages, the row flip and the texture parameters read back from GL.
#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

#include "PngWriter.h"
#include "resources/TextureLibrary.h"
#include "support/CaptureStdout.h"
#include "support/GlFixture.h"
#include "support/TempDir.h"

using namespace pngtest;
using TextureLibraryGl = GlTest;

namespace {

// An RGBA file whose pixel bytes are 1, 2, 3, ... row by row, top first.
std::string countingPng(uint32_t width, uint32_t height)
{
    Bytes filtered;
    for (uint32_t y = 0, next = 1; y < height; ++y) {
        filtered.push_back(0);
        for (uint32_t i = 0; i < width * 4; ++i) filtered.push_back(uint8_t(next++));
    }
    const Bytes file = makePng(width, height, 8, 6, filtered);
    return std::string(file.begin(), file.end());
}

GLint level0(GLuint texture, GLenum which)
{
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, which, &value);
    return value;
}

// The texture for `name` and what finding it printed.
std::pair<GLuint, std::string> find(const std::string& name)
{
    GLuint texture = 0;
    const std::string out = capturedStdout([&] { texture = findTexture(name); });
    return {texture, out};
}

}  // namespace

TEST_F(TextureLibraryGl, NameFirstThenTextureDirectoryAndOnlySuccessesCached)
{
    ScopedWorkDir dir;
    dir.write("both.png", countingPng(2, 1));
    dir.write("data/textures/both.png", countingPng(1, 3));
    dir.write("data/textures/only.png", countingPng(4, 5));
    dir.write("data/textures/empty.png", countingPng(0, 3));
    const GLuint both = findTexture("both.png");
    EXPECT_EQ(level0(both, GL_TEXTURE_WIDTH), 2);  // the working-directory file wins
    const GLuint only = findTexture("only.png");
    EXPECT_EQ(level0(only, GL_TEXTURE_HEIGHT), 5);
    // The full path opens through the first attempt and is its own entry.
    const GLuint full = findTexture("data/textures/only.png");
    EXPECT_NE(full, only);
    EXPECT_EQ(level0(full, GL_TEXTURE_WIDTH), 4);
    const GLuint empty = findTexture("empty.png");  // an empty picture is still a texture
    EXPECT_NE(empty, 0u);
    EXPECT_EQ(level0(empty, GL_TEXTURE_WIDTH), 0);

    std::filesystem::remove("both.png");  // a second read would now find the other file
    EXPECT_EQ(find("both.png"), std::make_pair(both, std::string()));
    clearTextureLibrary();  // forgotten without GL calls; the next request loads again
    EXPECT_EQ(level0(findTexture("both.png"), GL_TEXTURE_WIDTH), 1);
}

TEST_F(TextureLibraryGl, FailuresPrintAndAreRetried)
{
    ScopedWorkDir dir;
    dir.write("empty.png", "");
    dir.write("short.png", "0123456789");
    dir.write("text.png", std::string(40, 'x'));
    const std::pair<const char*, std::string> cases[] = {
        {"missing.png", "Couldn't find texture: missing.png\n"},
        {"", "Couldn't find texture: \n"},  // "data/textures/" is a directory, not a file
        {"empty.png", "Decode png failed: 48\n"},
        {"short.png", "Decode png failed: 27\n"},
        {"text.png", "Decode png failed: 28\n"},
        {"text.png", "Decode png failed: 28\n"},  // not cached: tried and reported again
    };
    for (const auto& [name, said] : cases) EXPECT_EQ(find(name), std::make_pair(0u, said)) << name;
    dir.write("missing.png", countingPng(1, 1));
    EXPECT_NE(find("missing.png"), std::make_pair(0u, std::string()));
}

TEST_F(TextureLibraryGl, UploadIsFlippedWithLinearMirroredParameters)
{
    ScopedWorkDir dir;
    dir.write("rows.png", countingPng(2, 3));
    const GLuint texture = findTexture("rows.png");
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(GLuint(bound), texture);  // left bound after loading
    const std::pair<GLenum, GLint> parameters[] = {{GL_TEXTURE_MAG_FILTER, GL_LINEAR},
                                                   {GL_TEXTURE_MIN_FILTER, GL_LINEAR},
                                                   {GL_TEXTURE_WRAP_S, GL_MIRRORED_REPEAT},
                                                   {GL_TEXTURE_WRAP_T, GL_MIRRORED_REPEAT}};
    for (const auto& [name, expected] : parameters) {
        GLint value = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
        EXPECT_EQ(value, expected) << name;
    }
    EXPECT_EQ(level0(texture, GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA);

    // The first row in GL is the bottom of the picture; the middle row stays.
    Bytes stored(2 * 3 * 4), expected;
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, stored.data());
    for (int row = 2; row >= 0; --row)
        for (int i = 1; i <= 8; ++i) expected.push_back(uint8_t(row * 8 + i));
    EXPECT_EQ(stored, expected);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
