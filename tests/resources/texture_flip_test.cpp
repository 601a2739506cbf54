// Row flip of RGBA pixel buffers before upload: odd heights keep their middle row.
#include <gtest/gtest.h>

#include <vector>

#include "resources/TextureLibrary.h"

TEST(FlipImageRows, SwapsRowsAroundTheMiddle)
{
    for (uint32_t height : {1u, 3u, 4u}) {
        std::vector<uint8_t> rows(height * 4), flipped(height * 4);
        for (uint32_t i = 0; i < height * 4; ++i) {
            rows[i] = uint8_t(i);
            flipped[i] = uint8_t((height - 1 - i / 4) * 4 + i % 4);
        }
        flipImageRows(rows.data(), 1, height);
        EXPECT_EQ(rows, flipped) << height;
    }
    flipImageRows(nullptr, 0, 0);  // empty images are fine
}
