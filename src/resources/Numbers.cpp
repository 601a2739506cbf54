// Saturating decimal integer read and the seconds read of command lines.
#include "resources/Numbers.h"
#include <cerrno>
#include <cmath>
#include <cstdlib>

int32_t saturatingInt32(const char* text)
{
    const long long value = std::strtoll(text, nullptr, 10);
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

bool readSeconds(const char* text, double max, double& out)
{
    if (!text || !*text) return false;
    char* rest = nullptr;
    errno = 0;
    const double value = std::strtod(text, &rest);
    if (errno != 0 || *rest != '\0' || !std::isfinite(value) || value < 0.0 || value > max) return false;
    out = value;
    return true;
}
