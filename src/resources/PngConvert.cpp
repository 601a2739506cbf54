// Conversion of raw PNG samples to 8-bit RGBA, one loop per sample layout. The
// common 8-bit layouts write whole pixels as 32-bit words; greys of up to 8
// bits and palettes go through one table from sample to pixel.
#include "resources/PngConvert.h"
#include "resources/DecodeErrors.h"

#include <cstring>

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

// The 32-bit word whose bytes in memory are red, green, blue and alpha.
uint32_t rgbaWord(uint32_t r, uint32_t g, uint32_t b, uint32_t a)
{
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    return (r << 24) | (g << 16) | (b << 8) | a;
#else
    return r | (g << 8) | (b << 16) | (a << 24);
#endif
}

void storeWord(uint8_t* o, uint32_t word)
{
    std::memcpy(o, &word, 4);
}

// Sample `x` of a row packed at `depth` (1, 2 or 4) bits, most significant first.
unsigned packedSample(const uint8_t* row, uint32_t x, uint32_t depth)
{
    const uint64_t bit = uint64_t(x) * depth;
    return (row[bit >> 3] >> (8 - depth - (bit & 7))) & ((1u << depth) - 1);
}

// The conversion of one image's rows, prepared once per image.
class RowConverter {
public:
    explicit RowConverter(const PngInfo& info) : info_(info)
    {
        const uint32_t depth = info.bitDepth;
        if (info.colorType == 3) {
            entries_ = uint32_t(info.palette.size() / 4);
            if (entries_) std::memcpy(table_, info.palette.data(), info.palette.size());
        } else if (info.colorType == 0 && depth <= 8) {
            // Every sample has an entry; the key compares the stored sample, before scaling.
            entries_ = 1u << depth;
            const uint32_t maxValue = entries_ - 1;
            for (uint32_t v = 0; v < entries_; ++v) {
                const uint32_t grey = v * 255 / maxValue;
                table_[v] = rgbaWord(grey, grey, grey, info.keyDefined && v == info.keyRed ? 0 : 255);
            }
        } else if (info.keyDefined && info.keyRed < 256 && info.keyGreen < 256 && info.keyBlue < 256) {
            keyWord_ = rgbaWord(info.keyRed, info.keyGreen, info.keyBlue, 0);
        }
    }

    // Converts a row of `width` pixels; false at a palette index without an entry.
    bool convert(uint8_t* o, const uint8_t* in, uint32_t width) const
    {
        const uint32_t depth = info_.bitDepth;
        switch (info_.colorType * 100 + depth) {
        case 1:
        case 2:
        case 4:
        case 8:
        case 301:
        case 302:
        case 304:
        case 308: return indexedRow(o, in, width, depth);
        case 16: // grey 16
            for (uint32_t x = 0; x < width; ++x, o += 4) {
                const uint8_t* s = in + 2 * size_t(x);
                put(o, s[0], s[0], s[0], info_.keyDefined && readBigEndian16(s) == info_.keyRed ? 0 : 255);
            }
            return true;
        case 208: { // RGB 8: the key, if any 8-bit colour has it, against the colour bits
            // Four bytes read at once but the last pixel's, which may end the buffer.
            const uint32_t alpha = rgbaWord(0, 0, 0, 255), colourBits = ~alpha;
            uint32_t x = 0;
#if !defined(__BYTE_ORDER__) || __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
            // Without a key, four pixels from two 8-byte reads, written as two pixel pairs.
            if (keyWord_ == ~0u) {
                const uint64_t alphas = 0xFF000000FF000000ull, colour = 0xFFFFFF;
                for (; x + 5 <= width; x += 4, o += 16, in += 12) {
                    uint64_t first, second;
                    std::memcpy(&first, in, 8);
                    std::memcpy(&second, in + 6, 8);
                    const uint64_t pair1 = (first & colour) | ((first >> 24 & colour) << 32) | alphas;
                    const uint64_t pair2 = (second & colour) | ((second >> 24 & colour) << 32) | alphas;
                    std::memcpy(o, &pair1, 8);
                    std::memcpy(o + 8, &pair2, 8);
                }
            }
#endif
            for (; x + 1 < width; ++x, o += 4, in += 3) {
                uint32_t word;
                std::memcpy(&word, in, 4);
                const uint32_t colour = word & colourBits;
                storeWord(o, colour == keyWord_ ? colour : colour | alpha);
            }
            const uint32_t colour = rgbaWord(in[0], in[1], in[2], 0);
            storeWord(o, colour == keyWord_ ? colour : colour | alpha);
            return true;
        }
        case 216: // RGB 16
            for (uint32_t x = 0; x < width; ++x, o += 4, in += 6) {
                const bool clear = info_.keyDefined && readBigEndian16(in) == info_.keyRed &&
                                   readBigEndian16(in + 2) == info_.keyGreen &&
                                   readBigEndian16(in + 4) == info_.keyBlue;
                put(o, in[0], in[2], in[4], clear ? 0 : 255);
            }
            return true;
        case 408: // grey and alpha 8
            for (uint32_t x = 0; x < width; ++x, o += 4, in += 2) storeWord(o, rgbaWord(in[0], in[0], in[0], in[1]));
            return true;
        case 416: // grey and alpha 16
            for (uint32_t x = 0; x < width; ++x, o += 4, in += 4) put(o, in[0], in[0], in[0], in[2]);
            return true;
        case 608: // RGBA 8
            std::memcpy(o, in, size_t(width) * 4);
            return true;
        case 616: // RGBA 16
            for (uint32_t x = 0; x < width; ++x, o += 4, in += 8) put(o, in[0], in[2], in[4], in[6]);
            return true;
        }
        return true;
    }

    int paletteError() const
    {
        return info_.bitDepth == 8 ? PngPaletteIndex8 : PngPaletteIndexPacked;
    }

    // RGB 8 rows converted in the buffer that holds them, last pixel first: each
    // pixel lands at or after the end of every pixel not yet read.
    void expandRgb8InPlace(uint8_t* base, size_t stride, size_t height) const
    {
        const uint32_t alpha = rgbaWord(0, 0, 0, 255);
        const size_t width = info_.width;
        for (size_t y = height; y-- > 0;) {
            const uint8_t* in = base + y * (stride + 1) + 1;
            uint8_t* o = base + y * width * 4;
            for (size_t x = width; x-- > 0;) {
                const uint32_t colour = rgbaWord(in[3 * x], in[3 * x + 1], in[3 * x + 2], 0);
                storeWord(o + 4 * x, colour == keyWord_ ? colour : colour | alpha);
            }
        }
    }

private:
    // Samples looked up in the table; an index without an entry fails the row.
    bool indexedRow(uint8_t* o, const uint8_t* in, uint32_t width, uint32_t depth) const
    {
        bool missing = false;
        if (depth == 8) {
            for (uint32_t x = 0; x < width; ++x, o += 4) {
                missing |= in[x] >= entries_;
                storeWord(o, table_[in[x]]);
            }
        } else {
            for (uint32_t x = 0; x < width; ++x, o += 4) {
                const unsigned index = packedSample(in, x, depth);
                missing |= index >= entries_;
                storeWord(o, table_[index]);
            }
        }
        return !missing;
    }

    const PngInfo& info_;
    uint32_t table_[256] = {};
    uint32_t entries_ = 0;
    // An RGB 8 key as colour bits with alpha 0; the default has alpha bits, so no colour equals it.
    uint32_t keyWord_ = ~0u;
};

} // namespace

int unfilterToRgba(std::vector<uint8_t>& out, std::vector<uint8_t>& filtered, const PngInfo& info)
{
    const size_t width = info.width;
    const size_t height = info.height;
    const uint32_t bpp = pngChannels(info.colorType) * info.bitDepth;
    const size_t stride = size_t(pngRowBytes(width, bpp));
    const size_t byteWidth = (bpp + 7) / 8;
    uint8_t* const base = filtered.data();
    if (width == 0 || height == 0) {
        // Rows without pixels still carry a filter byte that must be a valid type.
        for (size_t y = 0; y < height; ++y)
            if (base[y] > 4) return PngBadFilterType;
        out.clear();
        return 0;
    }
    const uint8_t* prior = nullptr;
    if (info.colorType == 6 && info.bitDepth == 8) {
        // Each row lands y + 1 bytes before its filtered place, over bytes already read.
        for (size_t y = 0; y < height; ++y) {
            const uint8_t* line = base + y * (stride + 1);
            uint8_t* recon = base + y * stride;
            if (int error = unfilterScanline(recon, line + 1, prior, byteWidth, line[0], stride)) return error;
            prior = recon;
        }
        out.swap(filtered);
        out.resize(width * height * 4);
        return 0;
    }
    const RowConverter converter(info);
    if (info.colorType == 2 && info.bitDepth == 8) {
        // Unfiltered in place, then spread to RGBA in the same buffer (the decoder
        // reserves room for it): no second image-sized buffer to fault in.
        for (size_t y = 0; y < height; ++y) {
            uint8_t* line = base + y * (stride + 1);
            if (int error = unfilterScanline(line + 1, line + 1, prior, byteWidth, line[0], stride)) return error;
            prior = line + 1;
        }
        filtered.resize(width * height * 4);
        converter.expandRgb8InPlace(filtered.data(), stride, height);
        out.swap(filtered);
        return 0;
    }
    out.resize(width * height * 4);
    for (size_t y = 0; y < height; ++y) {
        uint8_t* line = base + y * (stride + 1);
        if (int error = unfilterScanline(line + 1, line + 1, prior, byteWidth, line[0], stride)) return error;
        prior = line + 1;
        if (!converter.convert(out.data() + y * width * 4, line + 1, info.width)) {
            // A bad filter type in a later row takes precedence over the palette.
            for (size_t rest = y + 1; rest < height; ++rest)
                if (base[rest * (stride + 1)] > 4) return PngBadFilterType;
            return converter.paletteError();
        }
    }
    return 0;
}

int deinterlaceToRgba(std::vector<uint8_t>& out, std::vector<uint8_t>& filtered, const PngInfo& info)
{
    const size_t width = info.width;
    const size_t height = info.height;
    out.clear();
    if (width == 0 || height == 0) return 0; // no pass has pixels, nor rows to check
    const uint32_t bpp = pngChannels(info.colorType) * info.bitDepth;
    const size_t byteWidth = (bpp + 7) / 8;
    const bool rgba8 = info.colorType == 6 && info.bitDepth == 8;
    const RowConverter converter(info);
    out.resize(width * height * 4);
    std::vector<uint8_t> passPixels(width * 4);
    bool paletteFailed = false;
    uint8_t* in = filtered.data();
    for (const Adam7Pass& pass : kAdam7Passes) {
        const uint32_t passWidth = adam7Extent(info.width, pass.firstColumn, pass.columnStep);
        const uint32_t passHeight = adam7Extent(info.height, pass.firstRow, pass.rowStep);
        if (passWidth == 0) continue;
        const size_t passStride = size_t(pngRowBytes(passWidth, bpp));
        const size_t step = size_t(pass.columnStep) * 4;
        const uint8_t* prior = nullptr;
        for (uint32_t y = 0; y < passHeight; ++y, in += passStride + 1) {
            // After a palette failure only the filter types are still checked: a bad one wins.
            if (paletteFailed) {
                if (in[0] > 4) return PngBadFilterType;
                continue;
            }
            uint8_t* row = in + 1;
            if (int error = unfilterScanline(row, row, prior, byteWidth, in[0], passStride)) return error;
            prior = row;
            uint8_t* dst = out.data() + ((pass.firstRow + size_t(y) * pass.rowStep) * width + pass.firstColumn) * 4;
            // Rows of whole image rows convert in place; others through one row of pixels, then spread.
            uint8_t* target = step == 4 ? dst : passPixels.data();
            if (!rgba8 && !converter.convert(target, row, passWidth)) {
                paletteFailed = true;
                continue;
            }
            const uint8_t* pixels = rgba8 ? row : target;
            if (step == 4 && rgba8)
                std::memcpy(dst, pixels, size_t(passWidth) * 4);
            else if (step != 4)
                for (uint32_t i = 0; i < passWidth; ++i) std::memcpy(dst + i * step, pixels + 4 * size_t(i), 4);
        }
    }
    return paletteFailed ? converter.paletteError() : 0;
}

uint64_t pngInflateCapacity(const PngInfo& info, uint64_t filteredBytes)
{
    const uint64_t pixelBytes = uint64_t(info.width) * info.height * 4;
    const bool rgb8 = info.colorType == 2 && info.bitDepth == 8 && info.interlaceMethod == 0;
    return rgb8 && pixelBytes > filteredBytes ? pixelBytes : filteredBytes;
}
