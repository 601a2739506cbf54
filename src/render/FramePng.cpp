// PNG encoder for frames: signature, IHDR, one IDAT, IEND, with libdeflate doing the zlib stream
// and zlib the chunk CRCs.
#include "render/FramePng.h"
#include <libdeflate.h>
#include <zlib.h>
#include <cstring>
#include "resources/Numbers.h"
#include <memory>

namespace {
const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr uint8_t kFilterUp = 2;
constexpr int kCompressionLevel = 1; // frames are many and large: speed over the last few percent

// Length, type, data, and the CRC over type and data.
void putChunk(std::vector<uint8_t>& out, const char type[4], const uint8_t* data, size_t size)
{
    appendBigEndian32(out, static_cast<uint32_t>(size));
    const size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    if (size) out.insert(out.end(), data, data + size);
    const uLong crc = crc32(0L, out.data() + typeAt, static_cast<uInt>(4 + size));
    appendBigEndian32(out, static_cast<uint32_t>(crc));
}

// Each row becomes its filter byte followed by the byte-wise difference to the row above.
void filterRows(const uint8_t* rgb, size_t rowBytes, uint32_t height, std::vector<uint8_t>& filtered)
{
    filtered.resize((rowBytes + 1) * height);
    uint8_t* dst = filtered.data();
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t* row = rgb + rowBytes * y;
        *dst++ = kFilterUp;
        if (y == 0) {
            std::memcpy(dst, row, rowBytes);
        } else {
            const uint8_t* above = row - rowBytes;
            for (size_t i = 0; i < rowBytes; ++i) dst[i] = static_cast<uint8_t>(row[i] - above[i]);
        }
        dst += rowBytes;
    }
}
} // namespace

bool encodePng(const uint8_t* rgb, uint32_t width, uint32_t height, std::vector<uint8_t>& out)
{
    out.clear();
    if (!rgb || width == 0 || height == 0 || width > kMaxPngSide || height > kMaxPngSide) return false;
    const size_t rowBytes = static_cast<size_t>(width) * 3;
    // Scratch memory kept per thread: a render encodes thousands of same-sized frames, and fresh
    // buffers of a few megabytes each cost as much in page faults as the filtering itself.
    thread_local std::vector<uint8_t> filtered, packed;
    filterRows(rgb, rowBytes, height, filtered);

    thread_local std::unique_ptr<libdeflate_compressor, void (*)(libdeflate_compressor*)> compressor(
        libdeflate_alloc_compressor(kCompressionLevel), libdeflate_free_compressor);
    if (!compressor) return false;
    const size_t bound = libdeflate_zlib_compress_bound(compressor.get(), filtered.size());
    if (packed.size() < bound) packed.resize(bound);
    const size_t packedSize =
        libdeflate_zlib_compress(compressor.get(), filtered.data(), filtered.size(), packed.data(), packed.size());
    if (packedSize == 0) return false;

    std::vector<uint8_t> ihdr;
    appendBigEndian32(ihdr, width);
    appendBigEndian32(ihdr, height);
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0}); // 8 bits, RGB, deflate, adaptive filters, no interlace

    out.reserve(sizeof kSignature + 25 + packedSize + 12 + 12);
    out.insert(out.end(), kSignature, kSignature + sizeof kSignature);
    putChunk(out, "IHDR", ihdr.data(), ihdr.size());
    putChunk(out, "IDAT", packed.data(), packedSize);
    putChunk(out, "IEND", nullptr, 0);
    return true;
}
