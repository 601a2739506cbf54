// Texture library: PNG files by name to GL textures, loaded on first request and cached.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "resources/Gl.h"

GLuint findTexture(std::string name);
GLuint loadTexture(std::string name);
void flipImageRows(uint8_t* pixels, uint32_t width, uint32_t height);
// Decodes a cached texture's file again into the same GL name. A file that cannot be read or
// decoded is reported and the texture keeps its pixels. False then, or for a name not cached.
bool reloadTexture(const std::string& name);
// The names of the cached textures, as they were asked for.
std::vector<std::string> cachedTextureNames();
// Every name asked for since the library was cleared, whether it loaded or not.
std::vector<std::string> namedTextures();
// Forgets every cached texture without GL calls (their context is gone).
void clearTextureLibrary();
