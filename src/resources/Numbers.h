// Small number helpers shared by every layer: pi, big-endian byte order, the saturating decimal
// integer read that script words and effect arguments use, and the seconds read of command lines.
#pragma once
#include <cstdint>
#include <vector>

constexpr double kPi = 3.14159265358979323846;

// Big-endian (network order) 16- and 32-bit values at p, as PNG stores them.
inline uint32_t readBigEndian16(const uint8_t* p)
{
    return (uint32_t(p[0]) << 8) | p[1];
}
inline uint32_t readBigEndian32(const uint8_t* p)
{
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}
inline void appendBigEndian32(std::vector<uint8_t>& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

// A decimal integer read like atoi, but without undefined behaviour out of range: text without a
// number reads as 0 and values beyond 32 bits saturate at INT32_MIN or INT32_MAX.
int32_t saturatingInt32(const char* text);

// A whole command-line argument as a finite number of seconds in [0, max]: no text after the number,
// nothing out of double's range (an underflow included).
bool readSeconds(const char* text, double max, double& out);
