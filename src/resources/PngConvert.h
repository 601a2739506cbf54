// Conversion of raw PNG samples to 8-bit RGBA: greys scaled up from 1, 2 and
// 4 bits, 16-bit samples reduced to their high byte, palette lookup, and the
// tRNS colour key turned into alpha 0. Does not apply gamma or sBIT.
#pragma once

#include "resources/Png.h"

#include <cstdint>
#include <vector>

// Unfilters the rows of a non-interlaced image held in `filtered` (each a
// filter-type byte and a row) and converts them into `out`, row by row while
// each row is in cache. Returns 0, 36 (filter type above 4; checked on every
// row before any palette error is reported), 46 or 47. 8-bit RGBA and RGB
// images are unfiltered and converted inside `filtered`, which becomes `out`
// (for RGB it grows to width*height*4, within its capacity if reserved).
int unfilterToRgba(std::vector<uint8_t>& out, std::vector<uint8_t>& filtered, const PngInfo& info);

// The capacity worth reserving for the inflated data of `info`'s image, which
// needs `filteredBytes`: more where the pixels are converted inside that buffer.
uint64_t pngInflateCapacity(const PngInfo& info, uint64_t filteredBytes);

// The same for an Adam7-interlaced image: unfilters each pass row in place and
// puts its pixels at their places in `out`. Returns 0, 36, 46 or 47 as above.
int deinterlaceToRgba(std::vector<uint8_t>& out, std::vector<uint8_t>& filtered, const PngInfo& info);
