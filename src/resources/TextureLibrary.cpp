// Texture library (placeholder until the PNG decoder lands): every name is reported missing.
#include "resources/TextureLibrary.h"
#include <iostream>

GLuint findTexture(std::string name) { return loadTexture(name); }

GLuint loadTexture(std::string name)
{
    std::cout << "Couldn't find texture: " << name << std::endl;
    return 0;
}

void flipImageRows(uint8_t*, uint32_t, uint32_t) {}

void clearTextureLibrary() {}
