// Shared random stream: one engine and one distribution for every caller.
#include "effects/Random.h"
#include <random>

namespace {
constexpr std::mt19937::result_type kSeed = 5489u;

std::mt19937& engine()
{
    static std::mt19937 e(kSeed);
    return e;
}

std::uniform_int_distribution<int>& percent()
{
    static std::uniform_int_distribution<int> d(0, 100);
    return d;
}
} // namespace

int randomPercent()
{
    return percent()(engine());
}

void reseedRandom()
{
    engine().seed(kSeed);
    percent().reset();
}
