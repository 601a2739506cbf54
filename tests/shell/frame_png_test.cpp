// The frame PNG encoder: chunk layout and CRCs (zlib's crc32 as the oracle), and pixels that come
// back unchanged through the project's own decoder.
#include <gtest/gtest.h>
#include <zlib.h>
#include <string>
#include <utility>
#include <vector>
#include "resources/Png.h"
#include "render/FramePng.h"

namespace {
uint32_t bigEndian(const uint8_t* p)
{
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

// The chunk types of the file, checking every length and CRC on the way.
std::string chunkTypes(const std::vector<uint8_t>& png)
{
    std::string types;
    size_t at = 8;
    while (at + 12 <= png.size()) {
        const uint32_t length = bigEndian(&png[at]);
        if (at + 12 + length > png.size()) break;
        EXPECT_EQ(bigEndian(&png[at + 8 + length]), crc32(0L, &png[at + 4], 4 + length));
        types.append(reinterpret_cast<const char*>(&png[at + 4]), 4);
        at += 12 + length;
    }
    EXPECT_EQ(at, png.size());
    return types;
}
} // namespace

TEST(FramePng, RoundTripsOddSizesAndFullRangeBytes)
{
    for (auto [w, h] : {std::pair<uint32_t, uint32_t>{1, 1}, {3, 2}, {7, 5}, {64, 33}}) {
        std::vector<uint8_t> rgb(w * h * 3), png, rgba, expected;
        for (size_t i = 0; i < rgb.size(); ++i) {
            rgb[i] = static_cast<uint8_t>(i * 37 + (i >> 3) * 101);
            expected.push_back(rgb[i]);
            if (i % 3 == 2) expected.push_back(255);
        }
        ASSERT_TRUE(encodePng(rgb.data(), w, h, png));
        EXPECT_EQ(chunkTypes(png), "IHDRIDATIEND");
        uint32_t width = 0, height = 0;
        ASSERT_EQ(decodePng(png.data(), png.size(), rgba, width, height), 0);
        EXPECT_EQ(std::make_pair(width, height), std::make_pair(w, h));
        EXPECT_EQ(rgba, expected) << w << "x" << h;
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
