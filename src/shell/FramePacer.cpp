// The loop's own pacing on the platform's precise clock, for drivers that ignore the swap interval.
#include "shell/FramePacer.h"
#include "shell/Platform.h"

namespace {
constexpr int kDefaultRefreshHz = 60;
double g_periodMs = 0.0;   // 0: the swap itself waits for the display
double g_deadlineMs = 0.0; // when the next frame is due
} // namespace

void startFramePacing(SDL_Window* window)
{
    g_deadlineMs = 0.0;
    g_periodMs = 0.0;
    if (SDL_GL_GetSwapInterval() != 0) return;
    SDL_DisplayMode mode{};
    const int hz = SDL_GetWindowDisplayMode(window, &mode) == 0 && mode.refresh_rate > 0 ? mode.refresh_rate
                                                                                          : kDefaultRefreshHz;
    g_periodMs = 1000.0 / hz;
}

double nextFrameDeadline(double deadline, double now, double period)
{
    if (deadline <= 0.0 || now > deadline + period) return now + period;
    return deadline + period;
}

void paceFrame()
{
    if (g_periodMs <= 0.0) return;
    const double now = preciseMilliseconds();
    g_deadlineMs = nextFrameDeadline(g_deadlineMs, now, g_periodMs);
    const double wait = g_deadlineMs - now;
    if (wait >= 1.0) SDL_Delay(static_cast<Uint32>(wait));
}
