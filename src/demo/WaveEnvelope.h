// A track's waveform reduced for drawing: the lowest and highest sample of every 1/200 s of mono
// samples (-1 to 1), built from blocks of samples as a decoder hands them over, so the samples
// themselves need not be kept. 200 bins a second: at the strip's closest zoom (a second across
// 1280 pixels) a bin is 6 pixels wide; 1.6 KB a second of music.
#pragma once
#include <cstddef>
#include <utility>
#include <vector>

class WaveEnvelope {
public:
    static constexpr double kBinsPerSecond = 200.0;

    // An empty envelope for samples at `sampleRate` a second.
    explicit WaveEnvelope(double sampleRate = 44100.0) : rate_(sampleRate) {}
    // Appends the next `count` samples.
    void add(const float* samples, size_t count);
    // The lowest and highest sample from `from` to `to` seconds: of every bin the span touches, at
    // least the one `from` falls in. (0, 0) where there are no samples.
    std::pair<float, float> range(double from, double to) const;

private:
    double rate_;
    size_t samples_ = 0;
    std::vector<float> low_, high_;
};
