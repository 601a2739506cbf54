// Seeking: the whole shipped show (data/ of the source tree) advanced without drawing on a 60 fps
// frame clock up to its END, through a hidden GL context (the script's events still link programs
// and load textures). Target: at most 0.5 s per run. Building the Demo is not timed.
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <fcntl.h>
#include <unistd.h>
#include "demo/ClockSource.h"
#include "demo/Demo.h"
#include "demo/ProcessState.h"
#include "demo/ScriptEnd.h"
#include "shell/OffscreenContext.h"

namespace {
// Sends standard output (the demo's event listing) to /dev/null while it lives.
class QuietStdout {
public:
    QuietStdout() : saved_(dup(1))
    {
        std::fflush(stdout);
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0) dup2(null, 1), close(null);
    }
    ~QuietStdout()
    {
        std::fflush(stdout);
        if (saved_ >= 0) dup2(saved_, 1), close(saved_);
    }

private:
    int saved_;
};

void advanceShow(benchmark::State& state)
{
    if (!createOffscreenContext(1280, 720)) {
        state.SkipWithError("no GL context (run under xvfb-run)");
        return;
    }
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(ZEMBLAR_SOURCE_DIR);
    constexpr uint32_t kFps = 60;
    uint64_t frames = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<Demo> demo;
        FrameClock clock(kFps);
        {
            QuietStdout quiet;
            resetProcessState();
            demo = std::make_unique<Demo>(clock);
        }
        // Every frame up to the END (which would end the process), as a render stops there.
        const double end = firstPendingEndTime(demo->events);
        frames = end == kNoEnd ? 0 : static_cast<uint64_t>(std::ceil(end * kFps));
        state.ResumeTiming();
        QuietStdout quiet;
        demo->advanceTo(clock, frames);
    }
    state.counters["frames"] = static_cast<double>(frames);
    std::filesystem::current_path(previous);
}
} // namespace

BENCHMARK(advanceShow)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
