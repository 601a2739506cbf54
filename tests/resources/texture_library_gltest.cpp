// Texture library under a real GL context: lookup order of the two paths, caching by the name as
// given (successes only) and the two messages. The upload's row flip shows in the golden frames.
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
// A black RGB file. A width of 0 is written over the header of a one-column picture (the decoder
// checks no CRC); its zero samples then read as filter types.
std::string blackPng(uint32_t width, uint32_t height)
{
    Bytes rgb(std::max(width, 1u) * height * 3), file;
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

TEST_F(TextureLibraryGl, NameFirstThenTextureDirectoryOnlySuccessesCachedAndReloadedInPlace)
{
    ScopedWorkDir dir;
    dir.write("both.png", blackPng(2, 3));
    dir.write("data/textures/both.png", blackPng(1, 3));
    dir.write("data/textures/only.png", blackPng(4, 5));
    dir.write("data/textures/empty.png", blackPng(0, 3));
    dir.write("text.png", std::string(40, 'x'));
    const GLuint both = findTexture("both.png");
    EXPECT_EQ(level0(both, GL_TEXTURE_WIDTH), 2); // the working-directory file wins
    const GLuint only = findTexture("only.png");
    EXPECT_EQ(level0(only, GL_TEXTURE_HEIGHT), 5);
    EXPECT_NE(findTexture("data/textures/only.png"), only); // opens at the first try, its own entry
    const GLuint empty = findTexture("empty.png");          // an empty picture is still a texture
    EXPECT_NE(empty, 0u);
    EXPECT_EQ(level0(empty, GL_TEXTURE_WIDTH), 0);

    // A reload puts the new pixels into the same GL name; a truncated save keeps the last good ones.
    EXPECT_FALSE(reloadTexture("never.png"));
    dir.write("data/textures/only.png", blackPng(4, 4).substr(0, 60));
    bool reloaded = true;
    EXPECT_NE(capturedMessages([&] { reloaded = reloadTexture("only.png"); }), "");
    EXPECT_FALSE(reloaded);
    EXPECT_EQ(level0(only, GL_TEXTURE_HEIGHT), 5);
    dir.write("data/textures/only.png", blackPng(3, 2));
    EXPECT_TRUE(reloadTexture("only.png"));
    EXPECT_EQ(find("only.png"), std::make_pair(only, std::string()));
    EXPECT_EQ(level0(only, GL_TEXTURE_WIDTH), 3);
    EXPECT_EQ(level0(only, GL_TEXTURE_HEIGHT), 2);

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
