// Texture library under a real GL context: lookup order of the two paths,
// caching by the name as given, the two messages, the row flip and the
// texture parameters read back from GL.
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

// An RGBA image whose pixel bytes are 1, 2, 3, ... row by row, top first.
Bytes countingPng(uint32_t width, uint32_t height, Bytes* pixels = nullptr)
{
    Bytes filtered;
    uint8_t next = 1;
    for (uint32_t y = 0; y < height; ++y) {
        filtered.push_back(0);
        for (uint32_t i = 0; i < width * 4; ++i) {
            if (pixels) pixels->push_back(next);
            filtered.push_back(next++);
        }
    }
    return makePng(width, height, 8, 6, filtered);
}

std::string text(const Bytes& b) { return std::string(b.begin(), b.end()); }

GLint levelSize(GLuint texture, GLenum which)
{
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, which, &value);
    return value;
}

// The texture for `name` and what finding it printed.
std::pair<GLuint, std::string> find(const char* name)
{
    GLuint texture = 0;
    const std::string out = capturedStdout([&] { texture = findTexture(name); });
    return {texture, out};
}

}  // namespace

TEST_F(TextureLibraryGl, NameFirstThenTextureDirectory)
{
    ScopedWorkDir dir;
    dir.write("both.png", text(countingPng(2, 1)));
    dir.write("data/textures/both.png", text(countingPng(1, 3)));
    dir.write("data/textures/only.png", text(countingPng(4, 5)));

    const GLuint both = findTexture("both.png");
    ASSERT_NE(both, 0u);
    EXPECT_EQ(levelSize(both, GL_TEXTURE_WIDTH), 2);  // the working-directory file wins

    const GLuint only = findTexture("only.png");
    ASSERT_NE(only, 0u);
    EXPECT_EQ(levelSize(only, GL_TEXTURE_HEIGHT), 5);

    // The full path opens through the first attempt and is its own entry.
    const GLuint full = findTexture("data/textures/only.png");
    ASSERT_NE(full, 0u);
    EXPECT_NE(full, only);
    EXPECT_EQ(levelSize(full, GL_TEXTURE_WIDTH), 4);
}

TEST_F(TextureLibraryGl, SuccessfulLoadsAreCached)
{
    ScopedWorkDir dir;
    dir.write("a.png", text(countingPng(1, 1)));
    const GLuint first = findTexture("a.png");
    ASSERT_NE(first, 0u);
    std::filesystem::remove("a.png");  // a second read would now fail
    EXPECT_EQ(find("a.png"), std::make_pair(first, std::string()));

    clearTextureLibrary();  // forgotten without GL calls; the next request loads again
    EXPECT_EQ(findTexture("a.png"), 0u);
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

    dir.write("missing.png", text(countingPng(1, 1)));
    const auto found = find("missing.png");
    EXPECT_NE(found.first, 0u);
    EXPECT_EQ(found.second, "");
}

TEST_F(TextureLibraryGl, UploadIsFlippedWithLinearMirroredParameters)
{
    ScopedWorkDir dir;
    Bytes pixels;
    dir.write("rows.png", text(countingPng(2, 3, &pixels)));
    const GLuint texture = findTexture("rows.png");
    ASSERT_NE(texture, 0u);

    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(GLuint(bound), texture);  // left bound after loading

    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &value);
    EXPECT_EQ(value, GL_LINEAR);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
    EXPECT_EQ(value, GL_LINEAR);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &value);
    EXPECT_EQ(value, GL_MIRRORED_REPEAT);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &value);
    EXPECT_EQ(value, GL_MIRRORED_REPEAT);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &value);
    EXPECT_EQ(value, GL_RGBA);

    Bytes stored(2 * 3 * 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, stored.data());
    Bytes expected;
    for (int row = 2; row >= 0; --row)
        expected.insert(expected.end(), pixels.begin() + row * 8, pixels.begin() + row * 8 + 8);
    EXPECT_EQ(stored, expected);  // first row in GL is the bottom of the picture
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
