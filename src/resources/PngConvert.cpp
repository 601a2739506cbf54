// Conversion of raw PNG samples to 8-bit RGBA, one loop per sample layout.
#include "resources/PngConvert.h"
#include "resources/DecodeErrors.h"

#include "resources/Numbers.h"
#include "resources/PngChunks.h"
#include "resources/PngUnfilter.h"

namespace {

void put(uint8_t* o, uint8_t r, uint8_t g, uint8_t b, uint8_t a)
{
    o[0] = r;
    o[1] = g;
    o[2] = b;
    o[3] = a;
}

// Sample `x` of a row packed at `depth` (1, 2 or 4) bits, most significant first.
unsigned packedSample(const uint8_t* row, uint32_t x, uint32_t depth)
{
    const uint64_t bit = uint64_t(x) * depth;
    return (row[bit >> 3] >> (8 - depth - (bit & 7))) & ((1u << depth) - 1);
}

void convertRow(uint8_t* o, const uint8_t* in, uint32_t width, const PngInfo& info)
{
    const bool key = info.keyDefined;
    const uint32_t depth = info.bitDepth;
    switch (info.colorType * 100 + depth) {
    case 8:  // grey 8
        for (uint32_t x = 0; x < width; ++x, o += 4)
            put(o, in[x], in[x], in[x], key && in[x] == info.keyRed ? 0 : 255);
        break;
    case 16:  // grey 16
        for (uint32_t x = 0; x < width; ++x, o += 4) {
            const uint8_t* s = in + 2 * size_t(x);
            put(o, s[0], s[0], s[0], key && readBigEndian16(s) == info.keyRed ? 0 : 255);
        }
        break;
    case 1:
    case 2:
    case 4: {  // grey 1, 2, 4
        const unsigned maxValue = (1u << depth) - 1;
        for (uint32_t x = 0; x < width; ++x, o += 4) {
            const unsigned v = packedSample(in, x, depth);
            const uint8_t grey = uint8_t(v * 255 / maxValue);
            put(o, grey, grey, grey, key && v == info.keyRed ? 0 : 255);
        }
        break;
    }
    case 208:  // RGB 8
        for (uint32_t x = 0; x < width; ++x, o += 4, in += 3) {
            const bool clear = key && in[0] == info.keyRed && in[1] == info.keyGreen && in[2] == info.keyBlue;
            put(o, in[0], in[1], in[2], clear ? 0 : 255);
        }
        break;
    case 216:  // RGB 16
        for (uint32_t x = 0; x < width; ++x, o += 4, in += 6) {
            const bool clear = key && readBigEndian16(in) == info.keyRed && readBigEndian16(in + 2) == info.keyGreen &&
                               readBigEndian16(in + 4) == info.keyBlue;
            put(o, in[0], in[2], in[4], clear ? 0 : 255);
        }
        break;
    case 408:  // grey and alpha 8
        for (uint32_t x = 0; x < width; ++x, o += 4, in += 2) put(o, in[0], in[0], in[0], in[1]);
        break;
    case 416:  // grey and alpha 16
        for (uint32_t x = 0; x < width; ++x, o += 4, in += 4) put(o, in[0], in[0], in[0], in[2]);
        break;
    case 608:  // RGBA 8 (only reached row by row when not moved whole)
        for (uint32_t x = 0; x < width; ++x, o += 4, in += 4) put(o, in[0], in[1], in[2], in[3]);
        break;
    case 616:  // RGBA 16
        for (uint32_t x = 0; x < width; ++x, o += 4, in += 8) put(o, in[0], in[2], in[4], in[6]);
        break;
    }
}

// Palette rows; false at the first index without an entry.
bool convertPaletteRow(uint8_t* o, const uint8_t* in, uint32_t width, const PngInfo& info)
{
    const uint8_t* palette = info.palette.data();
    const size_t entries = info.palette.size() / 4;
    for (uint32_t x = 0; x < width; ++x, o += 4) {
        const unsigned index = info.bitDepth == 8 ? in[x] : packedSample(in, x, info.bitDepth);
        if (index >= entries) return false;
        const uint8_t* entry = palette + 4 * size_t(index);
        put(o, entry[0], entry[1], entry[2], entry[3]);
    }
    return true;
}

}  // namespace

int convertToRgba(std::vector<uint8_t>& out, std::vector<uint8_t>& raw, const PngInfo& info)
{
    const size_t width = info.width;
    const size_t height = info.height;
    if (width == 0 || height == 0) {
        // No pixels: do not walk billions of empty rows of a zero-width image.
        out.clear();
        return 0;
    }
    if (info.colorType == 6 && info.bitDepth == 8) {
        out.swap(raw);
        out.resize(width * height * 4);
        return 0;
    }
    const uint32_t bpp = pngChannels(info.colorType) * info.bitDepth;
    const size_t stride = size_t(pngRowBytes(width, bpp));
    out.resize(width * height * 4);
    for (size_t y = 0; y < height; ++y) {
        uint8_t* o = out.data() + y * width * 4;
        const uint8_t* in = raw.data() + y * stride;
        if (info.colorType == 3) {
            if (!convertPaletteRow(o, in, info.width, info)) return info.bitDepth == 8 ? PngPaletteIndex8 : PngPaletteIndexPacked;
        } else {
            convertRow(o, in, info.width, info);
        }
    }
    return 0;
}
