// Saturating decimal integer read.
#include "resources/Numbers.h"
#include <cstdlib>

int32_t saturatingInt32(const char* text)
{
    const long long value = std::strtoll(text, nullptr, 10);
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}
