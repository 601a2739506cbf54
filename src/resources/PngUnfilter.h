// PNG scanline reconstruction: the five filter types of filter method 0 and the
// Adam7 pass layout. Rows hold (width*bpp+7)/8 bytes, samples under 8 bits
// packed most significant bit first, each row starting on a byte.
#pragma once

#include <cstddef>
#include <cstdint>

// The Paeth predictor of left, up and up-left bytes; ties go to left, then up.
uint8_t paethPredictor(int left, int up, int upLeft);

// Unfilters `length` bytes of `scanline` into `recon`. `prior` is the previous
// unfiltered row or null for the first row. `recon` may be `scanline` itself or
// lie before it in the same buffer (rows are compacted over their filter bytes
// as they are unfiltered): every byte is read before anything is stored over
// it. Returns 0, or 36 for a filter type above 4.
int unfilterScanline(uint8_t* recon, const uint8_t* scanline, const uint8_t* prior, size_t byteWidth,
                     uint8_t filterType, size_t length);

// Bytes of one unfiltered row of `width` pixels at `bpp` bits a pixel.
uint64_t pngRowBytes(uint64_t width, uint32_t bpp);

// Bytes of filtered data (filter-type bytes included) the image needs.
uint64_t pngFilteredBytes(uint32_t width, uint32_t height, uint32_t bpp, bool interlaced);

// The seven Adam7 passes: the pixels (firstColumn + i*columnStep, firstRow + j*rowStep).
struct Adam7Pass {
    uint32_t firstColumn, firstRow, columnStep, rowStep;
};
extern const Adam7Pass kAdam7Passes[7];

// Pixels of one pass along an image side of `size` (columns or rows).
uint32_t adam7Extent(uint32_t size, uint32_t first, uint32_t step);
