// PNG encoding of rendered frames: 8-bit RGB, no interlace, every row filtered with "Up" and the
// whole image compressed as one zlib stream (fast level). Encoding only; it knows neither GL nor
// files, and writes no palette, alpha, gamma or text chunks.
#pragma once
#include <cstdint>
#include <vector>

// Largest width or height accepted, so that the row and image sizes cannot overflow.
constexpr uint32_t kMaxPngSide = 16384;

// Encodes `rgb` (height rows of width * 3 bytes, top row first) into `out`. False, with `out`
// left empty, for a zero or oversized side or when compression fails.
bool encodePng(const uint8_t* rgb, uint32_t width, uint32_t height, std::vector<uint8_t>& out);
