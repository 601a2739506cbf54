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

double FrameLookahead::milliseconds(double periodMs) const
{
    return std::clamp(recent_.median(), 0.0, periodMs) + periodMs / 2.0;
}
