// Building blocks for PNG and zlib inputs, shared by the decoder tests and the benchmarks: zlib
// (linked as an oracle only) compresses and gives the chunks their CRC, which the benchmarks' peer
// decoders check (the demo's decoder does not).
#pragma once
#include <zlib.h>
#include <cstdint>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

namespace pngbuild {

using Bytes = std::vector<uint8_t>;

inline Bytes concat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

inline Bytes be32(uint32_t v)
{
    return {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
}

inline Bytes deflate(const Bytes& data, int level = 6)
{
    uLongf size = compressBound(uLong(data.size()));
    Bytes out(size);
    if (compress2(out.data(), &size, data.data(), uLong(data.size()), level) != Z_OK) return {};
    out.resize(size);
    return out;
}

// Noise (kind 0), words (1) or runs of up to 700 equal bytes (2).
inline Bytes sampleData(int kind, size_t size, uint32_t seed)
{
    std::mt19937 rng(seed);
    Bytes data(size);
    const char* words[] = {"zemblar ", "demo ", "texture ", "sphere ", "camera ", "\n"};
    for (size_t i = 0; i < size;) {
        if (kind == 0)
            data[i++] = uint8_t(rng());
        else if (kind == 1)
            for (const char* w = words[rng() % 6]; *w && i < size; ++w) data[i++] = uint8_t(*w);
        else
            for (size_t n = rng() % 700, v = rng() & 0xFF; n && i < size; --n) data[i++] = uint8_t(v);
    }
    return data;
}

inline Bytes chunk(const std::string& type, const Bytes& data)
{
    const Bytes named = concat({Bytes(type.begin(), type.end()), data});
    return concat({be32(uint32_t(data.size())), named, be32(uint32_t(crc32(0, named.data(), uInt(named.size()))))});
}

inline Bytes signatureAndHeader(uint32_t width, uint32_t height, uint8_t depth, uint8_t colorType,
                                uint8_t interlace = 0)
{
    return concat({{137, 80, 78, 71, 13, 10, 26, 10},
                   chunk("IHDR", concat({be32(width), be32(height), {depth, colorType, 0, 0, interlace}}))});
}

// A whole file: header, the given middle chunks, one IDAT of `filtered` (filter bytes included), IEND.
inline Bytes makePng(uint32_t width, uint32_t height, uint8_t depth, uint8_t colorType, const Bytes& filtered,
                     const Bytes& middle = {}, uint8_t interlace = 0)
{
    return concat({signatureAndHeader(width, height, depth, colorType, interlace), middle,
                   chunk("IDAT", deflate(filtered)), chunk("IEND", {})});
}

} // namespace pngbuild
