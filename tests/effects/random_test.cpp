// The shared stream draws exactly what std::mt19937 seeded with 5489 and a 0..100 distribution
// draw (the shipped show's particles depend on it), also after a reseed.
#include <gtest/gtest.h>
#include <random>
#include "effects/Random.h"

TEST(Random, SameNumbersAsTheStandardMersenneTwisterAgainAfterReseed)
{
    for (int round = 0; round < 2; ++round) {
        reseedRandom();
        std::mt19937 reference(5489u);
        std::uniform_int_distribution<int> percent(0, 100);
        for (int i = 0; i < 2000; ++i) ASSERT_EQ(randomPercent(), percent(reference)) << "draw " << i;
    }
}
