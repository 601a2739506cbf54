// The loop's pacing and look-ahead on the platform's precise clock.
#include "shell/FramePacer.h"
#include <algorithm>
#include "shell/Platform.h"

namespace {
constexpr int kDefaultRefreshHz = 60;

struct FrameTiming {
    double periodMs = 1000.0 / kDefaultRefreshHz; // the display's refresh
    bool paced = false;                           // the swap does not wait: the loop does
    double deadlineMs = 0.0;                      // when the next frame is due
    double readMs = -1.0;                         // the frame's clock reading; -1: none yet
    FrameLookahead lookahead;
};

FrameTiming& timing()
{
    static FrameTiming t;
    return t;
}
} // namespace

void startFramePacing(SDL_Window* window)
{
    FrameTiming& t = timing();
    t = FrameTiming{};
    SDL_DisplayMode mode{};
    if (SDL_GetWindowDisplayMode(window, &mode) == 0 && mode.refresh_rate > 0) t.periodMs = 1000.0 / mode.refresh_rate;
    t.paced = SDL_GL_GetSwapInterval() == 0;
}

void frameClockRead(double ms)
{
    timing().readMs = ms;
}

double nextFrameDeadline(double deadline, double now, double period)
{
    if (deadline <= 0.0 || now > deadline + period) return now + period;
    return deadline + period;
}

void paceFrame()
{
    FrameTiming& t = timing();
    const double now = preciseMilliseconds();
    if (t.readMs >= 0.0) t.lookahead.add(now - t.readMs);
    t.readMs = -1.0;
    if (!t.paced) return;
    t.deadlineMs = nextFrameDeadline(t.deadlineMs, now, t.periodMs);
    const double wait = t.deadlineMs - now;
    if (wait >= 1.0) SDL_Delay(static_cast<Uint32>(wait));
}

double frameLookahead()
{
    const FrameTiming& t = timing();
    return t.lookahead.milliseconds(t.periodMs) / 1000.0;
}

void FrameLookahead::add(double readToSwapMs)
{
    recent_[next_] = readToSwapMs;
    next_ = (next_ + 1) % kFrames;
    count_ = std::min(count_ + 1, kFrames);
}

double FrameLookahead::milliseconds(double periodMs) const
{
    double median = 0.0;
    if (count_ > 0) {
        double sorted[kFrames];
        std::copy(recent_, recent_ + count_, sorted);
        std::nth_element(sorted, sorted + count_ / 2, sorted + count_);
        median = std::clamp(sorted[count_ / 2], 0.0, periodMs);
    }
    return median + periodMs / 2.0;
}
