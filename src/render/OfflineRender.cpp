// The offline render: plan the frame range, open the output, make the hidden window and the
// framebuffer, build the Demo on a frame clock, play the frames before the range without writing
// them, then draw, read back and write each frame of the range.
#include "render/OfflineRender.h"
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>
#include "demo/ClockSource.h"
#include "demo/Demo.h"
#include "demo/ScriptEnd.h"
#include "render/FrameSink.h"
#include "render/MusicLength.h"
#include "shell/OffscreenContext.h"
#include "render/RenderPlan.h"
#include "render/RenderProgress.h"
#include "render/RenderTarget.h"
#include "shell/Screen.h"

namespace {
using Clock = std::chrono::steady_clock;

std::unique_ptr<FrameSink> openOutput(const RenderOptions& o, const FramePlan& plan)
{
    switch (o.output) {
    case RenderOptions::Output::SingleFrame:
        return openPngFile(o.path, kWindowWidth, kWindowHeight);
    case RenderOptions::Output::Frames:
        return openPngDirectory(o.path, kWindowWidth, kWindowHeight);
    case RenderOptions::Output::Video:
        break;
    }
    VideoSettings video;
    video.path = o.path;
    video.width = kWindowWidth;
    video.height = kWindowHeight;
    video.fps = o.fps;
    video.musicStart = static_cast<double>(plan.first) / o.fps;
    video.duration = static_cast<double>(plan.end - plan.first) / o.fps;
    if (musicLength(kMusicPath) > 0.0)
        video.musicPath = kMusicPath;
    else
        std::fprintf(stderr, "no readable music at %s: the video has no sound\n", kMusicPath);
    return openVideo(video);
}

// Advances through frames 0 .. first - 1 without drawing: every event runs and every motion
// advances exactly as in a full render, so the first written frame equals that frame of a render
// from the start.
void playUpTo(Demo& demo, FrameClock& clock, uint64_t first)
{
    if (first == 0) return;
    const auto started = Clock::now();
    demo.advanceTo(clock, first);
    const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
    std::fprintf(stderr, "played %llu frames up to the start in %.2f s (%.1f fps)\n",
                 static_cast<unsigned long long>(first), seconds, seconds > 0.0 ? first / seconds : 0.0);
}

// Draws and writes the planned frames. The script's first END bounds the plan already; the check
// before each frame keeps the END from ever running (it would end the process mid-output).
bool writeFrames(Demo& demo, FrameClock& clock, RenderTarget& target, const FramePlan& plan, FrameSink& sink,
                 uint32_t fps)
{
    const double endTime = firstPendingEndTime(demo.events);
    RenderProgress progress(plan.end - plan.first);
    std::vector<uint8_t> rgb;
    bool ok = true;
    for (uint64_t frame = plan.first; frame < plan.end; ++frame) {
        const double time = frameClockSeconds(frame, fps);
        if (endTime < time) break;
        demo.renderFrame();
        target.readRgb(rgb);
        if (!sink.write(frame, rgb)) {
            ok = false;
            break;
        }
        clock.advance();
        progress.update(frame + 1 - plan.first, frame, time);
    }
    const double rate = progress.finish();
    std::fprintf(stderr, "rendered %llu frames at %.1f frames per second\n",
                 static_cast<unsigned long long>(clock.frame() - plan.first), rate);
    return ok;
}

bool renderWithContext(const RenderOptions& o, const FramePlan& plan, FrameSink& sink)
{
    RenderTarget target;
    if (!target.create(kWindowWidth, kWindowHeight)) return false;
    resizeScene(kWindowWidth, kWindowHeight);
    FrameClock clock(o.fps);
    Demo demo(clock);
    playUpTo(demo, clock, plan.first);
    return writeFrames(demo, clock, target, plan, sink, o.fps);
}
} // namespace

int runOfflineRender(const RenderOptions& o)
{
    const double endTime = scriptEndTime();
    const bool needLength = o.output != RenderOptions::Output::SingleFrame && o.end < 0.0 && endTime == kNoEnd;
    FramePlan plan;
    std::string error;
    if (!planFrames(o, endTime, needLength ? musicLength(kMusicPath) : -1.0, plan, error)) {
        std::fprintf(stderr, "zemblar-render: %s\n", error.c_str());
        return 1;
    }
    // The output first: ffmpeg is started before the window and GL threads exist.
    std::unique_ptr<FrameSink> sink = openOutput(o, plan);
    if (!sink) return 1;
    if (!createOffscreenContext(kWindowWidth, kWindowHeight)) return 1;
    bool ok = renderWithContext(o, plan, *sink);
    ok = sink->finish() && ok;
    std::fflush(stdout);
    destroyOffscreenContext();
    return ok ? 0 : 1;
}
