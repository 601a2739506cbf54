// Frame range of an offline render.
#include "render/RenderPlan.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include "demo/ClockSource.h"

namespace {
// Times are products like 0.1 * 30 that land a hair above a whole number; this much is taken as 0.
constexpr double kFrameSlack = 1e-6;
constexpr uint64_t kMaxFrame = static_cast<uint64_t>(kMaxRenderSeconds) * kMaxRenderFps;

std::string secondsText(double seconds)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.3f s", seconds);
    return text;
}
} // namespace

double frameClockSeconds(uint64_t frame, uint32_t fps)
{
    return static_cast<double>(FrameClock::millisecondsOf(frame, fps)) / 1000.0;
}

uint64_t frameAt(double seconds, uint32_t fps)
{
    if (!(seconds > 0.0)) return 0;
    const double frame = std::ceil(seconds * fps - kFrameSlack);
    if (frame <= 0.0) return 0;
    return frame >= static_cast<double>(kMaxFrame) ? kMaxFrame : static_cast<uint64_t>(frame);
}

uint64_t frameOfEnd(double endTime, uint32_t fps)
{
    if (endTime < 0.0) return 0;
    if (!(endTime < kMaxRenderSeconds)) return kMaxFrame;
    // The clock lags the nominal time by less than a millisecond: start a little early and step.
    const double guess = std::floor(endTime * fps) - 2.0;
    uint64_t frame = guess > 0.0 ? static_cast<uint64_t>(guess) : 0;
    while (frameClockSeconds(frame, fps) <= endTime) ++frame;
    return frame;
}

bool planFrames(const RenderOptions& o, double endTime, double musicSeconds, FramePlan& plan, std::string& error)
{
    const bool hasEnd = endTime < kMaxRenderSeconds;
    const uint64_t endByScript = hasEnd ? frameOfEnd(endTime, o.fps) : kMaxFrame;
    plan.first = frameAt(o.start, o.fps);
    if (o.output == RenderOptions::Output::SingleFrame) {
        plan.end = plan.first + 1;
    } else if (o.end >= 0.0) {
        plan.end = frameAt(o.end, o.fps);
    } else if (hasEnd) {
        plan.end = endByScript;
    } else if (musicSeconds > 0.0) {
        plan.end = frameAt(std::min(musicSeconds, kMaxRenderSeconds), o.fps);
    } else {
        error = "the script has no END and the music's length is unknown: give --end";
        return false;
    }
    if (plan.first >= endByScript) {
        error = "the demo ends (END at " + secondsText(endTime) + ") before " + secondsText(o.start);
        return false;
    }
    plan.end = std::min(plan.end, endByScript);
    if (plan.first >= plan.end) {
        error = "no frame to render from " + secondsText(o.start);
        return false;
    }
    return true;
}

FramePlan segmentOf(const FramePlan& plan, int k, int n)
{
    const uint64_t count = plan.end - plan.first;
    FramePlan part;
    part.first = plan.first + count * static_cast<uint64_t>(k - 1) / static_cast<uint64_t>(n);
    part.end = plan.first + count * static_cast<uint64_t>(k) / static_cast<uint64_t>(n);
    if (count < static_cast<uint64_t>(n)) part.end = part.first;
    return part;
}
