// PNG decoder: turns a whole PNG file held in memory into 8-bit RGBA pixels.
// Supports: colour types 0, 2, 3, 4, 6 at every bit depth PNG allows, filter
// method 0 with its five filters, no interlacing and Adam7, tRNS palette alpha
// and colour keys (16-bit samples keep their high byte). Reads only IHDR,
// PLTE, tRNS, IDAT and IEND and skips other ancillary chunks. Does not verify
// CRCs or the zlib Adler-32, and does not apply gamma, colour profiles or sBIT.
// Pure function on bytes: no files, no GL.
//
// Error codes (0 = success); the zlib codes of Zlib.h arrive unchanged:
//   27 fewer than 29 bytes              28 no PNG signature
//   29 bytes 12-15 are not IHDR         30 a chunk header does not fit in the file
//   31 unknown colour type              32 compression method not 0
//   33 filter method not 0              34 interlace method above 1
//   35 a chunk's data runs past the end of the file
//   36 filter type above 4              37 bit depth not allowed for the colour type
//   38 PLTE with more than 256 entries  39 palette tRNS longer than the palette
//   40 grey tRNS length not 2           41 RGB tRNS length not 6
//   42 tRNS for a colour type with alpha
//   46 8-bit palette index without an entry   47 1/2/4-bit palette index without an entry
//   48 no input bytes                   63 chunk length above 2^31-1
//   69 unknown critical chunk (a second IHDR included)
//   70 image too large: width*height*4 above 256 MiB, or the scanline data above 512 MiB
//   71 the decompressed data is shorter than the image needs
//   72 PLTE length not a multiple of 3
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Header facts of one file plus the palette and colour key.
struct PngInfo {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t colorType = 0;
    uint32_t bitDepth = 0;
    uint32_t compressionMethod = 0;
    uint32_t filterMethod = 0;
    uint32_t interlaceMethod = 0;
    uint32_t keyRed = 0;
    uint32_t keyGreen = 0;
    uint32_t keyBlue = 0;
    bool keyDefined = false;
    std::vector<uint8_t> palette; // 4 bytes an entry: red, green, blue, alpha
};

// Decodes one file; used for one call.
struct PngDecoder {
    PngInfo info;
    int error = 0;

    int decode(const uint8_t* data, size_t size, std::vector<uint8_t>& out);
};

// Decodes `size` bytes at `data` into RGBA8 pixels (rows top first, width*4
// bytes a row) and the image size. Returns 0 or an error code; on failure the
// pixels are not meaningful.
int decodePng(const uint8_t* data, size_t size, std::vector<uint8_t>& out, uint32_t& width, uint32_t& height);
