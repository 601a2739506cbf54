// Decoding a PNG file for a caller that reports failures to the demo maker: the demo's texture
// library and the png2rgba tool give the same "Decode png failed: CODE" line for a picture they
// cannot read. Kept apart from the decoder itself, which never prints.
#pragma once

#include <cstdint>
#include <vector>

// Decodes `file` into RGBA8 `pixels` (rows top first). On failure prints "Decode png failed: " and
// the decoder's error code on standard output, flushed, and returns false.
bool decodePngReported(const std::vector<uint8_t>& file, std::vector<uint8_t>& pixels, uint32_t& width,
                       uint32_t& height);
