// Texture library: a PNG file is looked up by its name as given, then under
// "data/textures/"; it is decoded to RGBA8, flipped so that the first row in
// memory is the bottom of the picture, and uploaded as a GL_TEXTURE_2D with
// linear filtering and mirrored repeat, without mipmaps. Successful loads are
// cached by the name as passed; failures are reported and retried every time. Every name asked
// for is kept, loaded or not, for the editor to watch.
#include "resources/TextureLibrary.h"

#include <cstring>
#include <map>
#include <set>
#include <vector>

#include "resources/FileBytes.h"
#include "resources/Messages.h"
#include "resources/PngReport.h"
#include "resources/ResourceState.h"

namespace {

std::map<std::string, GLuint>& textures()
{
    return resourceState().textures;
}

} // namespace

GLuint findTexture(std::string name)
{
    auto it = textures().find(name);
    if (it != textures().end()) return it->second;
    return loadTexture(name);
}

namespace {
// Reads and decodes the file; prints the reason and returns false when it cannot.
bool decodeTextureFile(const std::string& name, std::vector<uint8_t>& pixels, uint32_t& width, uint32_t& height)
{
    std::vector<uint8_t> file;
    if (!readWholeFile(name, file) && !readWholeFile("data/textures/" + name, file)) {
        printMessage("Couldn't find texture: %s\n", name.c_str());
        flushMessages();
        return false;
    }
    if (!decodePngReported(file, pixels, width, height)) return false;
    flipImageRows(pixels.data(), width, height);
    return true;
}

void upload(GLuint texture, const std::vector<uint8_t>& pixels, uint32_t width, uint32_t height)
{
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_MIRRORED_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_MIRRORED_REPEAT);
    // Rows are tightly packed at width*4 bytes, which the default unpack
    // alignment of 4 already matches.
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, static_cast<GLsizei>(width), static_cast<GLsizei>(height), 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, pixels.data());
}
} // namespace

GLuint loadTexture(std::string name)
{
    resourceState().textureNames.insert(name);
    std::vector<uint8_t> pixels;
    uint32_t width = 0;
    uint32_t height = 0;
    if (!decodeTextureFile(name, pixels, width, height)) return 0;
    GLuint texture = 0;
    glGenTextures(1, &texture);
    upload(texture, pixels, width, height);
    textures()[name] = texture;
    return texture;
}

// The new pixels go into the texture's own GL name, so every effect that holds it shows them.
bool reloadTexture(const std::string& name)
{
    auto it = textures().find(name);
    if (it == textures().end()) return false;
    std::vector<uint8_t> pixels;
    uint32_t width = 0;
    uint32_t height = 0;
    if (!decodeTextureFile(name, pixels, width, height)) return false;
    upload(it->second, pixels, width, height);
    return true;
}

std::vector<std::string> cachedTextureNames()
{
    std::vector<std::string> names;
    for (const auto& entry : textures()) names.push_back(entry.first);
    return names;
}

std::vector<std::string> namedTextures()
{
    const std::set<std::string>& names = resourceState().textureNames;
    return std::vector<std::string>(names.begin(), names.end());
}

void flipImageRows(uint8_t* pixels, uint32_t width, uint32_t height)
{
    const size_t rowBytes = size_t(width) * 4;
    if (rowBytes == 0) return;
    std::vector<uint8_t> temp(rowBytes);
    for (uint32_t i = 0; i < height / 2; ++i) {
        uint8_t* top = pixels + size_t(i) * rowBytes;
        uint8_t* bottom = pixels + size_t(height - 1 - i) * rowBytes;
        std::memcpy(temp.data(), top, rowBytes);
        std::memcpy(top, bottom, rowBytes);
        std::memcpy(bottom, temp.data(), rowBytes);
    }
}

void clearTextureLibrary()
{
    textures().clear();
    resourceState().textureNames.clear();
}
