// PNG file structure: the signature and IHDR at fixed offsets, then the chunk
// loop that joins IDAT data and reads PLTE and tRNS. Skips ancillary chunks,
// never verifies CRCs, ignores bytes after IEND.
#pragma once

#include "resources/Png.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Channels for a colour type (0 for an unknown one).
uint32_t pngChannels(uint32_t colorType);

// Checks the signature and reads the header fields; 0 or an error code.
int readPngHeader(const uint8_t* data, size_t size, PngInfo& info);

// Walks the chunks from byte 33; fills palette, key and the joined IDAT data.
int readPngChunks(const uint8_t* data, size_t size, PngInfo& info, std::vector<uint8_t>& idat);
