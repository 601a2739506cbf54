// The progress line of an offline render on standard error: a bar, the frame, the demo time and
// the rate of rendering. On a terminal it is redrawn in place at most ten times a second; into a
// file or pipe it is written as a new line every five seconds and once at the end.
#pragma once
#include <chrono>
#include <cstdint>
#include <string>

// One progress line (without carriage return or line end).
std::string progressLine(uint64_t done, uint64_t total, uint64_t frame, double demoSeconds, double framesPerSecond);

class RenderProgress {
public:
    explicit RenderProgress(uint64_t total);
    // After a frame has been written; `frame` is its number in the demo.
    void update(uint64_t done, uint64_t frame, double demoSeconds);
    // Draws the last state and ends the line. Returns the average rendering rate.
    double finish();

private:
    using Clock = std::chrono::steady_clock;
    void draw();

    uint64_t total_;
    bool terminal_;
    uint64_t done_ = 0;
    uint64_t frame_ = 0;
    double demoSeconds_ = 0.0;
    Clock::time_point started_;
    Clock::time_point lastDraw_;
};
