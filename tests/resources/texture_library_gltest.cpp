// Texture library under a real GL context: lookup order of the two paths, caching by the name as
// given (successes only), the two messages and the row flip of the upload.
#include <gtest/gtest.h>
#include <algorithm>
#include <filesystem>
#include <utility>
#include "resources/TextureLibrary.h"
#include "render/FramePng.h"
#include "support/CaptureMessages.h"
#include "support/GlFixture.h"
#include "support/TempDir.h"

using TextureLibraryGl = GlTest;
using Bytes = std::vector<uint8_t>;

namespace {
// An RGB file whose sample bytes are 1, 2, 3, ... row by row, top first. A width of 0 is written
// over the header of a one-column picture (the decoder checks no CRC).
std::string countingPng(uint32_t width, uint32_t height)
{
    Bytes rgb(std::max(width, 1u) * height * 3), file;
    for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = uint8_t(i + 1);
    EXPECT_TRUE(encodePng(rgb.data(), std::max(width, 1u), height, file));
    file[19] = uint8_t(width); // the low byte of the IHDR width
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
    const std::string out = capturedMessages([&] { texture = findTexture(name); });
    return {texture, out};
}
} // namespace

TEST_F(TextureLibraryGl, NameFirstThenTextureDirectoryOnlySuccessesCachedAndRowsFlipped)
{
    ScopedWorkDir dir;
    dir.write("both.png", countingPng(2, 3));
    dir.write("data/textures/both.png", countingPng(1, 3));
    dir.write("data/textures/only.png", countingPng(4, 5));
    dir.write("data/textures/empty.png", countingPng(0, 3));
    dir.write("text.png", std::string(40, 'x'));
    const GLuint both = findTexture("both.png");
    EXPECT_EQ(level0(both, GL_TEXTURE_WIDTH), 2); // the working-directory file wins
    Bytes stored(2 * 3 * 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, stored.data());
    EXPECT_EQ(stored,
              (Bytes{13, 14, 15, 255, 16, 17, 18, 255, 7, 8, 9, 255, 10, 11, 12, 255, 1, 2, 3, 255, 4, 5, 6, 255}));
    const GLuint only = findTexture("only.png");
    EXPECT_EQ(level0(only, GL_TEXTURE_HEIGHT), 5);
    EXPECT_NE(findTexture("data/textures/only.png"), only); // opens at the first try, its own entry
    const GLuint empty = findTexture("empty.png");          // an empty picture is still a texture
    EXPECT_NE(empty, 0u);
    EXPECT_EQ(level0(empty, GL_TEXTURE_WIDTH), 0);

    std::filesystem::remove("both.png"); // a second read would now find the other file
    EXPECT_EQ(find("both.png"), std::make_pair(both, std::string()));
    clearTextureLibrary(); // forgotten without GL calls; the next request loads again
    EXPECT_EQ(level0(findTexture("both.png"), GL_TEXTURE_WIDTH), 1);

    const std::pair<const char*, std::string> failures[] = {
        {"", "Couldn't find texture: \n"}, // "data/textures/" is a directory, not a file
        {"text.png", "Decode png failed: 28\n"},
        {"text.png", "Decode png failed: 28\n"}, // not cached: tried and reported again
    };
    for (const auto& [name, said] : failures) EXPECT_EQ(find(name), std::make_pair(0u, said)) << name;
}

TEST_F(TextureLibraryGl, ReloadPutsNewPixelsIntoTheSameNameAndABrokenFileKeepsTheLastGood)
{
    ScopedWorkDir dir;
    dir.write("data/textures/t.png", countingPng(2, 2));
    const GLuint texture = find("t.png").first;
    ASSERT_NE(texture, 0u);
    EXPECT_FALSE(reloadTexture("never.png"));
    for (const std::string& broken : {std::string(), countingPng(4, 4).substr(0, 60)}) { // truncated saves
        dir.write("data/textures/t.png", broken);
        bool reloaded = true;
        EXPECT_NE(capturedMessages([&] { reloaded = reloadTexture("t.png"); }), "");
        EXPECT_FALSE(reloaded);
        EXPECT_EQ(level0(texture, GL_TEXTURE_WIDTH), 2);
    }
    dir.write("data/textures/t.png", countingPng(4, 3));
    EXPECT_TRUE(reloadTexture("t.png"));
    EXPECT_EQ(find("t.png").first, texture);
    EXPECT_EQ(level0(texture, GL_TEXTURE_WIDTH), 4);
    EXPECT_EQ(level0(texture, GL_TEXTURE_HEIGHT), 3);
}
