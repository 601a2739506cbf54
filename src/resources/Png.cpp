// PNG decoding driver: header, chunks, inflate, unfilter, convert, with the
// size limits that keep a small file from asking for huge buffers.
#include "resources/Png.h"
#include "resources/DecodeErrors.h"

#include "resources/PngChunks.h"
#include "resources/PngConvert.h"
#include "resources/PngUnfilter.h"
#include "resources/Zlib.h"

namespace {

// Largest result (width*height*4) and largest filtered scanline data accepted.
constexpr uint64_t kMaxPixelBytes = uint64_t(1) << 28;
constexpr uint64_t kMaxFilteredBytes = uint64_t(1) << 29;

// Deflate turns one compressed byte into at most 1032 bytes (two one-bit codes
// per 258-byte match), so the output buffer is pre-sized to no more than the
// compressed data can produce; the inflater grows it if it must.
uint64_t inflateBound(size_t compressed)
{
    return (uint64_t(compressed) + 4) * 1032 + 1024;
}

} // namespace

int PngDecoder::decode(const uint8_t* data, size_t size, std::vector<uint8_t>& out)
{
    error = readPngHeader(data, size, info);
    if (error) return error;

    const uint32_t bpp = pngChannels(info.colorType) * info.bitDepth;
    const bool interlaced = info.interlaceMethod == 1;
    // width*height fits 64 bits; once it is bounded, so are the byte counts.
    if (uint64_t(info.width) * info.height > kMaxPixelBytes / 4) return error = PngTooLarge;
    const uint64_t filteredBytes = pngFilteredBytes(info.width, info.height, bpp, interlaced);
    if (filteredBytes > kMaxFilteredBytes) return error = PngTooLarge;

    std::vector<uint8_t> idat;
    error = readPngChunks(data, size, info, idat);
    if (error) return error;

    std::vector<uint8_t> filtered;
    const uint64_t bound = inflateBound(idat.size());
    if (filteredBytes <= bound) filtered.reserve(size_t(pngInflateCapacity(info, filteredBytes)));
    filtered.resize(size_t(filteredBytes < bound ? filteredBytes : bound));
    error = zlibDecompress(idat.data(), idat.size(), filtered, size_t(filteredBytes));
    if (error) return error;
    if (filtered.size() < filteredBytes) return error = PngDataTooShort;
    std::vector<uint8_t>().swap(idat);

    if (interlaced) return error = deinterlaceToRgba(out, filtered, info);
    return error = unfilterToRgba(out, filtered, info);
}

int decodePng(const uint8_t* data, size_t size, std::vector<uint8_t>& out, uint32_t& width, uint32_t& height)
{
    PngDecoder decoder;
    const int error = decoder.decode(data, size, out);
    width = decoder.info.width;
    height = decoder.info.height;
    return error;
}
