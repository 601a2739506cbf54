// Min/max reduction of a waveform into fixed bins of time.
#include "demo/WaveEnvelope.h"
#include <algorithm>
#include <cmath>

void WaveEnvelope::add(const float* samples, size_t count)
{
    for (size_t i = 0; i < count; ++i, ++samples_) {
        const size_t bin = static_cast<size_t>(static_cast<double>(samples_) * kBinsPerSecond / rate_);
        if (bin >= low_.size()) {
            low_.resize(bin + 1, samples[i]);
            high_.resize(bin + 1, samples[i]);
        } else {
            low_[bin] = std::min(low_[bin], samples[i]);
            high_[bin] = std::max(high_[bin], samples[i]);
        }
    }
}

std::pair<float, float> WaveEnvelope::range(double from, double to) const
{
    const double bins = static_cast<double>(low_.size());
    const double first = std::floor(from * kBinsPerSecond);
    if (!(first >= 0.0 && first < bins)) return {0.0f, 0.0f};
    const size_t begin = static_cast<size_t>(first);
    double last = std::ceil(to * kBinsPerSecond);
    if (!(last > first)) last = first + 1.0;
    const size_t end = static_cast<size_t>(std::min(last, bins));
    const auto low = std::min_element(low_.begin() + begin, low_.begin() + end);
    const auto high = std::max_element(high_.begin() + begin, high_.begin() + end);
    return {*low, *high};
}
