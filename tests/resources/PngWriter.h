// Test helper: builds small PNG files and zlib streams by hand (stored deflate blocks only, so no
// compressor is needed), with every field open to tampering; and the hash of the suite's table.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pngtest {

using Bytes = std::vector<uint8_t>;

inline void append(Bytes& out, const Bytes& more) { out.insert(out.end(), more.begin(), more.end()); }

inline void putBigEndian32(Bytes& out, uint32_t v)
{
    append(out, {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)});
}

// A zlib stream holding `data` in stored blocks, with a correct Adler-32.
inline Bytes storedZlib(const Bytes& data)
{
    Bytes out = {0x78, 0x01};
    size_t pos = 0;
    do {
        const size_t len = data.size() - pos < 65535 ? data.size() - pos : 65535;
        append(out, {uint8_t(pos + len == data.size()), uint8_t(len), uint8_t(len >> 8), uint8_t(~len),
                     uint8_t(~len >> 8)});
        out.insert(out.end(), data.begin() + long(pos), data.begin() + long(pos + len));
        pos += len;
    } while (pos < data.size());
    uint32_t a = 1, b = 0;
    for (uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    putBigEndian32(out, (b << 16) | a);
    return out;
}

// One chunk with a zero CRC (the decoder never checks it).
inline Bytes chunk(const std::string& type, const Bytes& data)
{
    Bytes out;
    putBigEndian32(out, uint32_t(data.size()));
    out.insert(out.end(), type.begin(), type.end());
    append(out, data);
    putBigEndian32(out, 0);
    return out;
}

inline Bytes signatureAndHeader(uint32_t width, uint32_t height, uint8_t depth, uint8_t colorType,
                                uint8_t interlace = 0)
{
    Bytes out = {137, 80, 78, 71, 13, 10, 26, 10}, ihdr;
    putBigEndian32(ihdr, width);
    putBigEndian32(ihdr, height);
    append(ihdr, {depth, colorType, 0, 0, interlace});
    append(out, chunk("IHDR", ihdr));
    return out;
}

// A whole file: header, the given middle chunks, one IDAT with `filtered` (filter bytes included)
// and IEND.
inline Bytes makePng(uint32_t width, uint32_t height, uint8_t depth, uint8_t colorType, const Bytes& filtered,
                     const Bytes& middle = {}, uint8_t interlace = 0)
{
    Bytes out = signatureAndHeader(width, height, depth, colorType, interlace);
    append(out, middle);
    append(out, chunk("IDAT", storedZlib(filtered)));
    append(out, chunk("IEND", {}));
    return out;
}

// FNV-1a 64 of a byte buffer, the hash of the suite's reference table.
inline uint64_t fnv1a(const Bytes& data)
{
    uint64_t h = 0xcbf29ce484222325ull;
    for (uint8_t byte : data) h = (h ^ byte) * 0x100000001b3ull;
    return h;
}

}  // namespace pngtest
