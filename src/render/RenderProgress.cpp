// Progress bar of the offline renderer.
#include "render/RenderProgress.h"
#include <cstdio>
#include <unistd.h>

namespace {
constexpr int kBarWidth = 30;
// On a terminal the line is redrawn in place; into a file or pipe a new line every few seconds.
constexpr auto kTerminalInterval = std::chrono::milliseconds(100);
constexpr auto kLogInterval = std::chrono::seconds(5);
} // namespace

std::string progressLine(uint64_t done, uint64_t total, uint64_t frame, double demoSeconds, double framesPerSecond)
{
    const int filled = total ? static_cast<int>(done * kBarWidth / total) : kBarWidth;
    std::string bar(static_cast<size_t>(filled), '#');
    bar.append(static_cast<size_t>(kBarWidth - filled), '.');
    char text[160];
    std::snprintf(text, sizeof text, "[%s] %3d%%  frame %llu (%llu/%llu)  t=%.3f s  %.1f fps", bar.c_str(),
                  total ? static_cast<int>(done * 100 / total) : 100, static_cast<unsigned long long>(frame),
                  static_cast<unsigned long long>(done), static_cast<unsigned long long>(total), demoSeconds,
                  framesPerSecond);
    return text;
}

RenderProgress::RenderProgress(uint64_t total)
    : total_(total), terminal_(::isatty(STDERR_FILENO) == 1), started_(Clock::now()), lastDraw_(started_)
{
}

void RenderProgress::update(uint64_t done, uint64_t frame, double demoSeconds)
{
    done_ = done;
    frame_ = frame;
    demoSeconds_ = demoSeconds;
    if (Clock::now() - lastDraw_ >= (terminal_ ? Clock::duration(kTerminalInterval) : Clock::duration(kLogInterval)))
        draw();
}

double RenderProgress::finish()
{
    draw();
    if (terminal_) std::fputc('\n', stderr);
    const double seconds = std::chrono::duration<double>(Clock::now() - started_).count();
    return seconds > 0.0 ? done_ / seconds : 0.0;
}

void RenderProgress::draw()
{
    lastDraw_ = Clock::now();
    const double seconds = std::chrono::duration<double>(lastDraw_ - started_).count();
    const double rate = seconds > 0.0 ? done_ / seconds : 0.0;
    const std::string line = progressLine(done_, total_, frame_, demoSeconds_, rate);
    if (terminal_)
        std::fprintf(stderr, "\r%s\x1b[K", line.c_str()); // erase what a longer line left behind
    else
        std::fprintf(stderr, "%s\n", line.c_str());
    std::fflush(stderr);
}
