// Parallel segments: each job is this program again (/proc/self/exe) with --segment K/N and a
// pipe on which it reports its frame count; the parent sums the counts into one progress bar.
// Only the last job keeps standard output: it plays every event from the start to the span's end,
// so its lines are exactly those of a single render. Video segments carry no sound; ffmpeg's
// concat demuxer joins them with stream copy and the music is muxed once over the whole. The jobs
// stop (and remove their unfinished files) when this process stops or dies; the segments of a
// video are removed with them.
#include "render/RenderJobs.h"
#include "resources/Messages.h"
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <poll.h>
#include <unistd.h>
#include <vector>
#include "render/ChildProcess.h"
#include "render/MusicLength.h"
#include "render/PendingFile.h"
#include "render/RenderProgress.h"
#include "render/StopSignals.h"
#include "render/VideoEncoder.h"

namespace {
std::string number(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

} // namespace

std::vector<std::string> jobArguments(const RenderOptions& o, int k, int fd)
{
    std::vector<std::string> args = {"/proc/self/exe",      o.path,    "--fps",
                                     std::to_string(o.fps), "--start", number(o.start)};
    if (o.end >= 0.0) args.insert(args.end(), {"--end", number(o.end)});
    // The preset's encoding, with the size, rate and quality settled here (they win over it).
    if (!o.preset.empty()) args.insert(args.end(), {"--preset", o.preset});
    if (o.preset.empty() || o.crfGiven) args.insert(args.end(), {"--crf", std::to_string(o.crf)});
    args.insert(args.end(),
                {"--size", std::to_string(o.width) + "x" + std::to_string(o.height), "--msaa", std::to_string(o.msaa),
                 "--segment", std::to_string(k) + "/" + std::to_string(o.jobs), "--progress-fd", std::to_string(fd)});
    return args;
}

namespace {
struct Job {
    pid_t pid = -1;
    int pipe = -1; // read end of the job's frame counts; -1 once closed
    uint64_t done = 0;
    std::string partial; // a line not yet complete
};

// Reads what a job reported; false at its end.
bool readReports(Job& job)
{
    char buffer[256];
    const ssize_t n = ::read(job.pipe, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) return true;
    if (n <= 0) return false;
    job.partial.append(buffer, static_cast<size_t>(n));
    size_t line;
    while ((line = job.partial.find('\n')) != std::string::npos) {
        job.done = std::strtoull(job.partial.c_str(), nullptr, 10);
        job.partial.erase(0, line + 1);
    }
    if (job.partial.size() > 64) job.partial.clear();
    return true;
}

void removeParts(const RenderOptions& o)
{
    std::error_code ignored;
    for (int k = 1; k <= o.jobs; ++k) std::filesystem::remove(segmentPath(o.path, k, o.jobs), ignored);
}
} // namespace

std::string segmentPath(const std::string& video, int k, int n)
{
    const std::string stem = video.substr(0, video.size() - 4); // the name ends in ".mp4"
    return stem + ".part" + std::to_string(k) + "of" + std::to_string(n) + video.substr(video.size() - 4);
}

int runJobs(const RenderOptions& o, const FramePlan& plan, const std::string& music, const std::string& program)
{
    // The segments of a video are this run's partial output: removed if a signal stops it.
    const bool video = o.output == RenderOptions::Output::Video;
    std::unique_ptr<RemoveOnStop[]> parts(new RemoveOnStop[static_cast<size_t>(o.jobs)]);
    for (int k = 1; k <= o.jobs && video; ++k)
        if (!parts[static_cast<size_t>(k - 1)].mark(segmentPath(o.path, k, o.jobs))) return 1;
    std::vector<Job> jobs(static_cast<size_t>(o.jobs));
    flushMessages();
    for (int k = 1; k <= o.jobs; ++k) {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) {
            std::perror("pipe");
            break;
        }
        Job& job = jobs[static_cast<size_t>(k - 1)];
        std::vector<std::string> args = jobArguments(o, k, fds[1]);
        args[0] = program;
        job.pid = startChild(args, ChildPipe::None, true, fds[1], k < o.jobs, SIGTERM).pid;
        ::close(fds[1]);
        job.pipe = fds[0];
    }
    RenderProgress progress(plan.end - plan.first);
    int status = 0;
    for (;;) {
        std::vector<pollfd> polled;
        for (const Job& job : jobs)
            if (job.pipe >= 0) polled.push_back({job.pipe, POLLIN, 0});
        if (polled.empty()) break;
        if (::poll(polled.data(), polled.size(), -1) < 0 && errno != EINTR) break;
        uint64_t done = 0;
        for (Job& job : jobs) {
            for (const pollfd& p : polled)
                if (p.fd == job.pipe && (p.revents & (POLLIN | POLLHUP | POLLERR)) && !readReports(job)) {
                    ::close(job.pipe);
                    job.pipe = -1;
                    const int jobStatus = childExitStatus(job.pid);
                    job.pid = -1;
                    if (jobStatus != 0 && status == 0) {
                        // One failed segment fails the whole: the others are stopped.
                        status = jobStatus == 2 ? 2 : 1;
                        for (const Job& other : jobs)
                            if (other.pid > 0) ::kill(other.pid, SIGTERM);
                    }
                }
            done += job.done;
        }
        const uint64_t frame = plan.first + (done > 0 ? done - 1 : 0); // where one process would be
        progress.update(done, frame, frameClockSeconds(frame, o.fps));
    }
    const double rate = progress.finish();
    if (status != 0) {
        if (video) removeParts(o);
        return status;
    }
    std::fprintf(stderr, "rendered %llu frames in %d jobs at %.1f frames per second\n",
                 static_cast<unsigned long long>(plan.end - plan.first), o.jobs, rate);
    if (!video) return 0;
    RenderOptions join = o;
    join.join = o.jobs;
    const bool joined = joinSegments(join, plan, music);
    removeParts(o);
    return joined ? 0 : 1;
}

bool joinSegments(const RenderOptions& o, const FramePlan& plan, const std::string& music)
{
    namespace fs = std::filesystem;
    const std::string list = o.path + ".parts.txt";
    RemoveOnStop listGuard;
    std::FILE* file = listGuard.mark(list, true) ? std::fopen(list.c_str(), "w") : nullptr;
    listGuard.made();
    if (!file) {
        std::fprintf(stderr, "cannot write %s: %s\n", list.c_str(), std::strerror(errno));
        return false;
    }
    bool complete = true;
    for (int k = 1; k <= o.join; ++k) {
        const std::string part = segmentPath(o.path, k, o.join);
        std::error_code error;
        if (!fs::is_regular_file(part, error)) {
            std::fprintf(stderr, "segment %d of %d is missing: %s (render it with --segment %d/%d)\n", k, o.join,
                         part.c_str(), k, o.join);
            complete = false;
            break;
        }
        // The concat list quotes names in single quotes; a quote inside is written as '\''.
        std::string quoted;
        for (char c : fs::absolute(part, error).string())
            quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        std::fprintf(file, "file '%s'\n", quoted.c_str());
    }
    const bool listed = std::fclose(file) == 0 && complete;
    bool ok = false;
    if (listed) {
        std::vector<std::string> args = {"ffmpeg", "-hide_banner", "-loglevel", "error", "-nostdin", "-y",
                                         "-f",     "concat",       "-safe",     "0",     "-i",       list};
        const bool sound = musicLength(music.c_str()) > 0.0;
        if (sound)
            args.insert(args.end(), {"-ss", number(static_cast<double>(plan.first) / o.fps), "-t",
                                     number(static_cast<double>(plan.end - plan.first) / o.fps), "-i", music});
        else
            std::fprintf(stderr, "no readable music at %s: the video has no sound\n", music.c_str());
        args.insert(args.end(), {"-map", "0:v:0", "-c:v", "copy"});
        if (sound) {
            args.insert(args.end(), {"-map", "1:a:0"});
            const std::vector<std::string> audio = audioArguments(o.audioKbps);
            args.insert(args.end(), audio.begin(), audio.end());
        }
        PendingFile joined(o.path);
        args.insert(args.end(), {"-movflags", "+faststart", "-f", "mp4", joined.temporary()});
        ok = joined.expect() && waitChild(startChild(args, ChildPipe::None, true).pid) && joined.commit();
        if (!ok) std::fprintf(stderr, "ffmpeg could not join the segments into %s\n", o.path.c_str());
    }
    std::error_code ignored;
    fs::remove(list, ignored);
    return ok;
}
