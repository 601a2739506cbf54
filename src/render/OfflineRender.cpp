// The offline render: plan the frame range, make the hidden window and the framebuffer, open the
// output, build the Demo on a frame clock, advance through the frames before the range without
// drawing, then draw, read back and write each frame of the range (or of one segment of it).
// Read-back overlaps the drawing of the next frame and encoding runs on worker threads, so drawing
// does not wait for either.
#include "render/OfflineRender.h"
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>
#include <unistd.h>
#include "demo/ClockSource.h"
#include "demo/Demo.h"
#include "demo/ScriptEnd.h"
#include "render/FrameQueue.h"
#include "render/FrameSink.h"
#include "render/MusicLength.h"
#include "render/RenderJobs.h"
#include "resources/Messages.h"
#include "render/RenderPlan.h"
#include "render/RenderProgress.h"
#include "render/RenderTarget.h"
#include "render/StopSignals.h"
#include "script/ScriptHeader.h"
#include "shell/OffscreenContext.h"
#include "shell/Screen.h"

namespace {
using Clock = std::chrono::steady_clock;

// Frames waiting for encoding; each holds one frame's RGB bytes (6 MB at 1920 x 1080).
constexpr size_t kQueuedFrames = 4;
// PNG frames are independent, so two threads compress them; a video takes its frames in order.
constexpr int kPngWorkers = 2;

std::unique_ptr<FrameSink> openOutput(const RenderOptions& o, const FramePlan& plan, const std::string& music)
{
    switch (o.output) {
    case RenderOptions::Output::SingleFrame: return openPngFile(o.path, o.width, o.height);
    case RenderOptions::Output::Frames:
        return std::make_unique<FrameQueue>(openPngDirectory(o.path, o.width, o.height), kPngWorkers, kQueuedFrames);
    case RenderOptions::Output::Video: break;
    }
    VideoSettings video;
    video.path = o.segment > 0 ? segmentPath(o.path, o.segment, o.segments) : o.path;
    video.width = o.width;
    video.height = o.height;
    video.fps = o.fps;
    video.crf = o.crf;
    video.videoKbps = o.videoKbps;
    video.profile = o.profile;
    video.level = o.level;
    video.audioKbps = o.audioKbps;
    video.musicStart = static_cast<double>(plan.first) / o.fps;
    video.duration = static_cast<double>(plan.end - plan.first) / o.fps;
    if (o.segment > 0) {
        // A segment carries no sound: the music is added once over the joined video.
    } else if (musicLength(music.c_str()) > 0.0) {
        video.musicPath = music;
    } else {
        std::fprintf(stderr, "no readable music at %s: the video has no sound\n", music.c_str());
    }
    std::unique_ptr<FrameSink> encoder = openVideo(video);
    if (!encoder) return nullptr;
    return std::make_unique<FrameQueue>(std::move(encoder), 1, kQueuedFrames);
}

// Advances through frames 0 .. first - 1 without drawing: every event runs and every motion
// advances exactly as in a full render, so the first written frame equals that frame of a render
// from the start.
void playUpTo(Demo& demo, FrameClock& clock, uint64_t first, bool quiet)
{
    if (first == 0) return;
    const auto started = Clock::now();
    demo.advanceTo(clock, first);
    const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
    if (!quiet)
        std::fprintf(stderr, "played %llu frames up to the start in %.2f s (%.1f fps)\n",
                     static_cast<unsigned long long>(first), seconds, seconds > 0.0 ? first / seconds : 0.0);
}

// Progress as a bar, or as frame counts on a descriptor for a parent process or job runner.
class Progress {
public:
    Progress(uint64_t total, int fd) : fd_(fd), bar_(fd < 0 ? total : 0) {}
    void update(uint64_t done, uint64_t frame, double seconds)
    {
        if (fd_ < 0) {
            bar_.update(done, frame, seconds);
            return;
        }
        char line[32];
        const int n = std::snprintf(line, sizeof line, "%llu\n", static_cast<unsigned long long>(done));
        if (::write(fd_, line, static_cast<size_t>(n)) != n) fd_ = -2; // a gone reader stops the reports
    }
    void finish(uint64_t done)
    {
        if (fd_ != -1) return;
        const double rate = bar_.finish();
        std::fprintf(stderr, "rendered %llu frames at %.1f frames per second\n", static_cast<unsigned long long>(done),
                     rate);
    }

private:
    int fd_;
    RenderProgress bar_;
};

// Draws and writes the planned frames. Frame n is collected from the read-back after frame n + 1
// has been drawn. The script's first END bounds the plan already; a frame in which an END runs
// anyway is not written.
bool writeFrames(Demo& demo, FrameClock& clock, RenderTarget& target, const FramePlan& plan, FrameSink& sink,
                 const RenderOptions& o)
{
    Progress progress(plan.end - plan.first, o.progressFd);
    std::vector<uint8_t> rgb;
    uint64_t collected = plan.first;
    auto collect = [&] {
        target.finishRead(rgb);
        const bool ok = sink.take(collected, rgb);
        ++collected;
        progress.update(collected - plan.first, collected - 1, frameClockSeconds(collected - 1, o.fps));
        return ok;
    };
    bool ok = true;
    for (uint64_t frame = plan.first; frame < plan.end && ok; ++frame) {
        if (!demo.renderFrame()) break;
        target.startRead();
        if (target.pendingReads() == 2) ok = collect();
        clock.advance();
    }
    while (ok && target.pendingReads() > 0) ok = collect();
    progress.finish(collected - plan.first);
    return ok;
}

bool renderWithContext(const RenderOptions& o, const FramePlan& plan, FrameSink& sink, RenderTarget& target)
{
    resizeScene(o.width, o.height);
    FrameClock clock(o.fps);
    Demo demo(clock);
    playUpTo(demo, clock, plan.first, o.progressFd >= 0);
    return writeFrames(demo, clock, target, plan, sink, o);
}

// Renders in the current context, whose limits were checked, into a folder that exists.
int renderPlan(const RenderOptions& o, const FramePlan& plan, const std::string& music)
{
    RenderTarget target;
    std::unique_ptr<FrameSink> sink = target.create(o.width, o.height, o.msaa) ? openOutput(o, plan, music) : nullptr;
    if (!sink) return 1;
    bool ok = renderWithContext(o, plan, *sink, target);
    ok = sink->finish() && ok;
    return ok ? 0 : 1;
}

// The folder the output goes in: the frames' folder, or the folder of a video or a frame file.
std::string outputFolder(const RenderOptions& o)
{
    if (o.output == RenderOptions::Output::Frames) return o.path;
    return std::filesystem::path(o.path).parent_path().string();
}

// What is refused before anything is written or any job starts, once, in the process the user
// started: options the GL driver cannot render (checked in the current context) and an output
// folder that cannot be made. Prints the reason; true when rendering may start.
bool readyToRender(const RenderOptions& o)
{
    std::string error;
    if (checkRenderLimits(o.width, o.height, o.msaa, error) && makeDirectory(outputFolder(o), error)) return true;
    std::fprintf(stderr, "zemblar-render: %s\n", error.c_str());
    return false;
}
} // namespace

int runOfflineRender(const RenderOptions& o)
{
    installStopHandlers(o.progressFd < 0);
    ScriptHeader header;
    const double endTime = scriptEndTime(kScriptPath, &header);
    const std::string music = musicPathOf(header);
    const bool needLength = o.output != RenderOptions::Output::SingleFrame && o.end < 0.0 && endTime == kNoEnd;
    FramePlan plan;
    std::string error;
    if (!planFrames(o, endTime, needLength ? musicLength(music.c_str()) : -1.0, plan, error)) {
        std::fprintf(stderr, "zemblar-render: %s\n", error.c_str());
        return 1;
    }
    const uint64_t frames = plan.end - plan.first;
    const int parts = o.jobs > 1 ? o.jobs : o.segments;
    if (parts > 1 && frames < static_cast<uint64_t>(parts)) {
        std::fprintf(stderr, "zemblar-render: %d %s for %llu frames: at most one per frame\n", parts,
                     o.jobs > 1 ? "jobs" : "segments", static_cast<unsigned long long>(frames));
        return 2;
    }
    if (o.join > 0) return joinSegments(o, plan, music) ? 0 : 1;
    if (!createOffscreenContext(kWindowWidth, kWindowHeight)) return 1;
    int status = readyToRender(o) ? 0 : 2;
    if (status == 0 && o.jobs > 1) {
        destroyOffscreenContext(); // each job makes its own
        return runJobs(o, plan, music);
    }
    if (status == 0) status = renderPlan(o, o.segment > 0 ? segmentOf(plan, o.segment, o.segments) : plan, music);
    flushMessages();
    destroyOffscreenContext();
    return status;
}
