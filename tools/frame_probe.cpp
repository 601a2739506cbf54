// frame_probe: measures the live demo without the start question. It opens the windowed demo in the
// current working directory (its data/ as zemblar reads it), presents the first frame and reports
// when that happened, then draws frames back to back for the given seconds and reports the rate.
// Usage: frame_probe [seconds]   (default 5). Prints "first_frame_monotonic_ns", "first_frame_ms"
// (since main was entered), "frames" and "fps" lines after the demo's own output.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include "demo/Demo.h"
#include "resources/Gl.h"
#include "shell/PlatformClock.h"
#include "shell/Shell.h"

namespace {
using Clock = std::chrono::steady_clock;

long long nanosecondsOf(Clock::time_point t)
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch()).count();
}

double millisecondsBetween(Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration<double, std::milli>(b - a).count();
}

void presentFrame(Demo& demo)
{
    SDL_Event event;
    while (SDL_PollEvent(&event)) handleWindowEvent(event);
    demo.renderFrame();
    SDL_GL_SwapWindow(g_window);
}
} // namespace

int main(int argc, char** argv)
{
    const auto entered = Clock::now();
    const double seconds = argc > 1 ? std::atof(argv[1]) : 5.0;
    g_fullscreen = false;
    if (!createWindow()) return 1;
    SDL_Delay(25);
    auto demo = std::make_unique<Demo>(platformClock());
    presentFrame(*demo);
    glFinish();
    const auto firstFrame = Clock::now();

    unsigned long frames = 0;
    const auto loopStart = Clock::now();
    while (millisecondsBetween(loopStart, Clock::now()) < seconds * 1000.0) {
        presentFrame(*demo);
        ++frames;
    }
    glFinish();
    const double elapsed = millisecondsBetween(loopStart, Clock::now()) / 1000.0;
    std::printf("first_frame_monotonic_ns %lld\n", nanosecondsOf(firstFrame));
    std::printf("first_frame_ms %.1f\n", millisecondsBetween(entered, firstFrame));
    std::printf("frames %lu\nfps %.1f\n", frames, frames / elapsed);
    demo.reset();
    destroyWindow();
    return 0;
}
