// Texture library under a real GL context: lookup order of the two paths,
// caching by the name as given, the two messages, the row flip and the
// texture parameters read back from GL.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <sstream>

#include "PngWriter.h"
#include "resources/TextureLibrary.h"
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

// Captures what the library writes to std::cout.
class CoutCapture {
public:
    CoutCapture() : old_(std::cout.rdbuf(buffer_.rdbuf())) {}
    ~CoutCapture() { std::cout.rdbuf(old_); }
    std::string take()
    {
        std::string s = buffer_.str();
        buffer_.str("");
        return s;
    }

private:
    std::ostringstream buffer_;
    std::streambuf* old_;
};

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
    CoutCapture out;
    EXPECT_EQ(findTexture("a.png"), first);
    EXPECT_EQ(out.take(), "");

    clearTextureLibrary();  // forgotten without GL calls; the next request loads again
    EXPECT_EQ(findTexture("a.png"), 0u);
}

TEST_F(TextureLibraryGl, FailuresPrintAndAreRetried)
{
    ScopedWorkDir dir;
    CoutCapture out;
    EXPECT_EQ(findTexture("missing.png"), 0u);
    EXPECT_EQ(out.take(), "Couldn't find texture: missing.png\n");
    EXPECT_EQ(findTexture(""), 0u);  // "data/textures/" is a directory, not a file
    EXPECT_EQ(out.take(), "Couldn't find texture: \n");

    dir.write("empty.png", "");
    dir.write("short.png", "0123456789");
    dir.write("text.png", std::string(40, 'x'));
    EXPECT_EQ(findTexture("empty.png"), 0u);
    EXPECT_EQ(out.take(), "Decode png failed: 48\n");
    EXPECT_EQ(findTexture("short.png"), 0u);
    EXPECT_EQ(out.take(), "Decode png failed: 27\n");
    EXPECT_EQ(findTexture("text.png"), 0u);
    EXPECT_EQ(out.take(), "Decode png failed: 28\n");
    EXPECT_EQ(findTexture("text.png"), 0u);  // not cached: tried and reported again
    EXPECT_EQ(out.take(), "Decode png failed: 28\n");

    dir.write("missing.png", text(countingPng(1, 1)));
    EXPECT_NE(findTexture("missing.png"), 0u);
    EXPECT_EQ(out.take(), "");
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
