// Texture library: PNG files by name to GL textures, loaded on first request and cached.
#pragma once
#include <cstdint>
#include <string>
#include "resources/Gl.h"

GLuint findTexture(std::string name);
GLuint loadTexture(std::string name);
void flipImageRows(uint8_t* pixels, uint32_t width, uint32_t height);
// Forgets every cached texture without GL calls (their context is gone).
void clearTextureLibrary();
