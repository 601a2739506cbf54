// Progress bar of the offline renderer.
#include "shell/RenderProgress.h"
#include <cstdio>

namespace {
constexpr int kBarWidth = 30;
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);
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

RenderProgress::RenderProgress(uint64_t total) : total_(total), started_(Clock::now()), lastDraw_(started_) {}

void RenderProgress::update(uint64_t done, uint64_t frame, double demoSeconds)
{
    done_ = done;
    frame_ = frame;
    demoSeconds_ = demoSeconds;
    if (Clock::now() - lastDraw_ >= kRedrawInterval) draw();
}

double RenderProgress::finish()
{
    draw();
    std::fputc('\n', stderr);
    const double seconds = std::chrono::duration<double>(Clock::now() - started_).count();
    return seconds > 0.0 ? done_ / seconds : 0.0;
}

void RenderProgress::draw()
{
    lastDraw_ = Clock::now();
    const double seconds = std::chrono::duration<double>(lastDraw_ - started_).count();
    const double rate = seconds > 0.0 ? done_ / seconds : 0.0;
    std::fprintf(stderr, "\r%s", progressLine(done_, total_, frame_, demoSeconds_, rate).c_str());
    std::fflush(stderr);
}
