// Shared random stream: one engine and one distribution for every caller. The engine is a
// Mersenne Twister written out here rather than std::mt19937: the standard library instantiates
// that one in an object that also holds std::random_device, which a statically linked C++ runtime
// would drag into a release along with a dependency on a newer C library than it otherwise needs.
// The numbers are the same (MT19937 is defined to the bit).
#include "effects/Random.h"
#include <cstdint>
#include <limits>
#include <random>

namespace {
constexpr uint32_t kSeed = 5489u;

class Mt19937 {
public:
    using result_type = uint32_t;
    static constexpr result_type min() { return 0; }
    static constexpr result_type max() { return std::numeric_limits<uint32_t>::max(); }

    explicit Mt19937(uint32_t seed) { this->seed(seed); }
    void seed(uint32_t value)
    {
        state_[0] = value;
        for (int i = 1; i < kN; ++i) state_[i] = 1812433253u * (state_[i - 1] ^ (state_[i - 1] >> 30)) + i;
        next_ = kN;
    }
    result_type operator()()
    {
        if (next_ >= kN) twist();
        uint32_t y = state_[next_++];
        y ^= y >> 11;
        y ^= (y << 7) & 0x9d2c5680u;
        y ^= (y << 15) & 0xefc60000u;
        return y ^ (y >> 18);
    }

private:
    static constexpr int kN = 624, kM = 397;
    void twist()
    {
        for (int i = 0; i < kN; ++i) {
            const uint32_t y = (state_[i] & 0x80000000u) | (state_[(i + 1) % kN] & 0x7fffffffu);
            state_[i] = state_[(i + kM) % kN] ^ (y >> 1) ^ ((y & 1u) ? 0x9908b0dfu : 0u);
        }
        next_ = 0;
    }
    uint32_t state_[kN];
    int next_ = kN;
};

Mt19937& engine()
{
    static Mt19937 e(kSeed);
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
