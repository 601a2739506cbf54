// The frame PNG encoder: chunk lengths and CRCs (zlib's crc32 as the oracle), pixels unchanged
// through the project's own decoder, and the sizes it refuses.
#include <gtest/gtest.h>
#include <zlib.h>
#include <string>
#include <utility>
#include <vector>
#include "resources/Png.h"
#include "render/FramePng.h"

TEST(FramePng, RoundTripsOddSizesWithValidChunksAndRefusesBadSizes)
{
    const auto bigEndian = [](const uint8_t* p) {
        return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
    };
    for (auto [w, h] : {std::pair<uint32_t, uint32_t>{1, 1}, {3, 2}, {7, 5}, {64, 33}}) {
        std::vector<uint8_t> rgb(w * h * 3), png, rgba, expected;
        for (size_t i = 0; i < rgb.size(); ++i) {
            rgb[i] = static_cast<uint8_t>(i * 37 + (i >> 3) * 101);
            expected.push_back(rgb[i]);
            if (i % 3 == 2) expected.push_back(255);
        }
        ASSERT_TRUE(encodePng(rgb.data(), w, h, png));
        std::string types;
        size_t at = 8;
        for (uint32_t length; at + 12 <= png.size() && at + 12 + (length = bigEndian(&png[at])) <= png.size();
             at += 12 + length) {
            EXPECT_EQ(bigEndian(&png[at + 8 + length]), crc32(0L, &png[at + 4], 4 + length));
            types.append(reinterpret_cast<const char*>(&png[at + 4]), 4);
        }
        EXPECT_EQ(std::make_pair(types, at), std::make_pair(std::string("IHDRIDATIEND"), png.size()));
        uint32_t width = 0, height = 0;
        ASSERT_EQ(decodePng(png.data(), png.size(), rgba, width, height), 0);
        EXPECT_EQ(std::make_pair(width, height), std::make_pair(w, h));
        EXPECT_EQ(rgba, expected) << w << "x" << h;
    }
    const uint8_t black[3] = {};
    const struct {
        const uint8_t* rgb;
        uint32_t w, h;
    } refused[] = {{black, 0, 1}, {black, 1, 0}, {nullptr, 1, 1}, {black, kMaxPngSide + 1, 1}, {black, 1, ~0u}};
    for (const auto& c : refused) {
        std::vector<uint8_t> png = {1, 2, 3};
        EXPECT_FALSE(encodePng(c.rgb, c.w, c.h, png)) << c.w << "x" << c.h;
        EXPECT_TRUE(png.empty());
    }
}
