// Row flip of RGBA pixel buffers before upload: odd heights keep their middle row.
#include <gtest/gtest.h>

#include <vector>

#include "resources/TextureLibrary.h"

TEST(FlipImageRows, SwapsRowsAroundTheMiddle)
{
    std::vector<uint8_t> one = {1, 2, 3, 4, 5, 6, 7, 8};
    flipImageRows(one.data(), 2, 1);
    EXPECT_EQ(one, std::vector<uint8_t>({1, 2, 3, 4, 5, 6, 7, 8}));

    std::vector<uint8_t> three(12);
    for (int i = 0; i < 12; ++i) three[i] = uint8_t(i);
    flipImageRows(three.data(), 1, 3);
    EXPECT_EQ(three, std::vector<uint8_t>({8, 9, 10, 11, 4, 5, 6, 7, 0, 1, 2, 3}));

    std::vector<uint8_t> four = {1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4};
    flipImageRows(four.data(), 1, 4);
    EXPECT_EQ(four, std::vector<uint8_t>({4, 4, 4, 4, 3, 3, 3, 3, 2, 2, 2, 2, 1, 1, 1, 1}));

    flipImageRows(nullptr, 0, 0);  // empty images are fine
}
