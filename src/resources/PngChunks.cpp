// PNG file structure: signature, fixed-offset IHDR, and the chunk loop.
#include "resources/PngChunks.h"
#include "resources/DecodeErrors.h"

#include <cstring>

#include "resources/Numbers.h"

namespace {

const uint8_t kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};

bool depthAllowed(uint32_t colorType, uint32_t depth)
{
    switch (colorType) {
    case 0: return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case 3: return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    default: return depth == 8 || depth == 16;
    }
}

int readPalette(const uint8_t* chunk, uint64_t length, PngInfo& info)
{
    const uint64_t entries = length / 3;
    if (entries > 256) return PngPaletteTooLong;
    // Entries of three bytes: a remainder would leave the chunk malformed.
    if (length % 3 != 0) return PngPaletteLength;
    info.palette.resize(entries * 4);
    for (uint64_t i = 0; i < entries; ++i) {
        info.palette[4 * i + 0] = chunk[3 * i + 0];
        info.palette[4 * i + 1] = chunk[3 * i + 1];
        info.palette[4 * i + 2] = chunk[3 * i + 2];
        info.palette[4 * i + 3] = 255;
    }
    return 0;
}

int readTransparency(const uint8_t* chunk, uint64_t length, PngInfo& info)
{
    switch (info.colorType) {
    case 3:
        if (4 * length > info.palette.size()) return PngTransparencyTooLong;
        for (uint64_t i = 0; i < length; ++i) info.palette[4 * i + 3] = chunk[i];
        return 0;
    case 0:
        if (length != 2) return PngGreyKeyLength;
        info.keyRed = info.keyGreen = info.keyBlue = readBigEndian16(chunk);
        info.keyDefined = true;
        return 0;
    case 2:
        if (length != 6) return PngRgbKeyLength;
        info.keyRed = readBigEndian16(chunk);
        info.keyGreen = readBigEndian16(chunk + 2);
        info.keyBlue = readBigEndian16(chunk + 4);
        info.keyDefined = true;
        return 0;
    default: return PngTransparencyWithAlpha;
    }
}

} // namespace

uint32_t pngChannels(uint32_t colorType)
{
    switch (colorType) {
    case 0: return 1;
    case 2: return 3;
    case 3: return 1;
    case 4: return 2;
    case 6: return 4;
    default: return 0;
    }
}

int readPngHeader(const uint8_t* data, size_t size, PngInfo& info)
{
    if (data == nullptr || size == 0) return PngEmpty;
    if (size < 29) return PngTooShort;
    if (std::memcmp(data, kSignature, 8) != 0) return PngNoSignature;
    if (std::memcmp(data + 12, "IHDR", 4) != 0) return PngFirstChunkNotIhdr;
    info.width = readBigEndian32(data + 16);
    info.height = readBigEndian32(data + 20);
    info.bitDepth = data[24];
    info.colorType = data[25];
    info.compressionMethod = data[26];
    info.filterMethod = data[27];
    info.interlaceMethod = data[28];
    if (info.compressionMethod != 0) return PngBadCompressionMethod;
    if (info.filterMethod != 0) return PngBadFilterMethod;
    if (info.interlaceMethod > 1) return PngBadInterlaceMethod;
    if (pngChannels(info.colorType) == 0) return PngBadColorType;
    if (!depthAllowed(info.colorType, info.bitDepth)) return PngBadBitDepth;
    return 0;
}

int readPngChunks(const uint8_t* data, size_t size, PngInfo& info, std::vector<uint8_t>& idat)
{
    info.keyDefined = false;
    idat.clear();
    // 64-bit positions: q + 12 + length cannot wrap for any 32-bit length.
    const uint64_t n = size;
    uint64_t q = 33;
    for (;;) {
        if (q + 8 >= n) return PngChunkHeaderPastEnd;
        const uint64_t length = readBigEndian32(data + q);
        if (length > 2147483647u) return PngChunkTooLong;
        // The chunk's data must lie inside the file.
        if (q + 8 + length > n) return PngChunkPastEnd;
        const uint8_t* type = data + q + 4;
        const uint8_t* chunk = data + q + 8;
        if (std::memcmp(type, "IDAT", 4) == 0) {
            idat.insert(idat.end(), chunk, chunk + length);
        } else if (std::memcmp(type, "IEND", 4) == 0) {
            return 0;
        } else if (std::memcmp(type, "PLTE", 4) == 0) {
            if (int error = readPalette(chunk, length, info)) return error;
        } else if (std::memcmp(type, "tRNS", 4) == 0) {
            if (int error = readTransparency(chunk, length, info)) return error;
        } else if ((type[0] & 0x20) == 0) {
            return PngUnknownCriticalChunk;
        }
        q += 12 + length;
    }
}
