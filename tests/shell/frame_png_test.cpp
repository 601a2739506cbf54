// The frame PNG encoder: chunk layout and CRCs, and pixels that come back unchanged when the image
// data is inflated and unfiltered (zlib serves as the oracle for the compressed stream).
#include <gtest/gtest.h>
#include <zlib.h>
#include <cstring>
#include <string>
#include <vector>
#include "shell/FramePng.h"

namespace {
uint32_t bigEndian(const uint8_t* p)
{
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

struct Chunk {
    std::string type;
    std::vector<uint8_t> data;
};

// Splits the file into chunks, checking every length and CRC on the way.
std::vector<Chunk> chunksOf(const std::vector<uint8_t>& png)
{
    std::vector<Chunk> chunks;
    const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_EQ(std::memcmp(png.data(), signature, 8), 0);
    size_t at = 8;
    while (at + 12 <= png.size()) {
        const uint32_t length = bigEndian(&png[at]);
        EXPECT_LE(at + 12 + length, png.size());
        if (at + 12 + length > png.size()) break;
        const uLong crc = crc32(0L, &png[at + 4], 4 + length);
        EXPECT_EQ(bigEndian(&png[at + 8 + length]), crc);
        chunks.push_back({std::string(reinterpret_cast<const char*>(&png[at + 4]), 4),
                          std::vector<uint8_t>(&png[at + 8], &png[at + 8] + length)});
        at += 12 + length;
    }
    EXPECT_EQ(at, png.size());
    return chunks;
}

// Inflates the image data and undoes the "Up" filter of every row.
std::vector<uint8_t> pixelsOf(const Chunk& idat, uint32_t width, uint32_t height)
{
    const size_t row = width * 3;
    std::vector<uint8_t> raw((row + 1) * height);
    uLongf size = raw.size();
    EXPECT_EQ(uncompress(raw.data(), &size, idat.data.data(), idat.data.size()), Z_OK);
    EXPECT_EQ(size, raw.size());
    std::vector<uint8_t> pixels(row * height);
    for (uint32_t y = 0; y < height; ++y) {
        EXPECT_EQ(raw[(row + 1) * y], 2) << "row " << y;
        for (size_t i = 0; i < row; ++i) {
            const uint8_t above = y ? pixels[row * (y - 1) + i] : 0;
            pixels[row * y + i] = static_cast<uint8_t>(raw[(row + 1) * y + 1 + i] + above);
        }
    }
    return pixels;
}
} // namespace

TEST(FramePng, RoundTripsOddSizesAndFullRangeBytes)
{
    for (auto [w, h] : {std::pair<uint32_t, uint32_t>{1, 1}, {3, 2}, {7, 5}, {64, 33}}) {
        std::vector<uint8_t> rgb(w * h * 3), png;
        for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<uint8_t>(i * 37 + (i >> 3) * 101);
        ASSERT_TRUE(encodePng(rgb.data(), w, h, png));
        const std::vector<Chunk> chunks = chunksOf(png);
        ASSERT_EQ(chunks.size(), 3u);
        const std::vector<uint8_t> header = {0, 0, uint8_t(w >> 8), uint8_t(w), 0, 0, uint8_t(h >> 8), uint8_t(h),
                                             8, 2, 0, 0, 0};  // 8-bit RGB, not interlaced
        EXPECT_EQ(chunks[0].type + chunks[1].type + chunks[2].type, "IHDRIDATIEND");
        EXPECT_EQ(chunks[0].data, header);
        EXPECT_TRUE(chunks[2].data.empty());
        EXPECT_EQ(pixelsOf(chunks[1], w, h), rgb) << w << "x" << h;
    }
}

TEST(FramePng, RefusesEmptyAndOversizedImages)
{
    // Oversized sides are refused before any row is read.
    std::vector<uint8_t> rgb(3, 0);
    const struct { const uint8_t* rgb; uint32_t w, h; } cases[] = {
        {rgb.data(), 0, 1}, {rgb.data(), 1, 0}, {nullptr, 1, 1}, {rgb.data(), kMaxPngSide + 1, 1}, {rgb.data(), 1, ~0u}};
    for (const auto& c : cases) {
        std::vector<uint8_t> png = {1, 2, 3};
        EXPECT_FALSE(encodePng(c.rgb, c.w, c.h, png)) << c.w << "x" << c.h;
        EXPECT_TRUE(png.empty());
    }
}
