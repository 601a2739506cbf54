// ffmpeg started as a child process and fed through a pipe; a broken pipe is an error, not a signal.
#include "render/VideoEncoder.h"
#include <cerrno>
#include <cstdio>
#include <unistd.h>
#include "render/ChildProcess.h"

namespace {
std::string number(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.6f", value);
    return text;
}

bool writeAll(int fd, const uint8_t* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}
} // namespace

std::vector<std::string> ffmpegArguments(const VideoSettings& s)
{
    std::vector<std::string> args = {"ffmpeg",      "-hide_banner",
                                     "-loglevel",   "error",
                                     "-nostdin",    "-y",
                                     "-f",          "rawvideo",
                                     "-pix_fmt",    "rgb24",
                                     "-video_size", std::to_string(s.width) + "x" + std::to_string(s.height),
                                     "-framerate",  std::to_string(s.fps),
                                     "-i",          "pipe:0"};
    const bool audio = !s.musicPath.empty();
    if (audio) {
        args.insert(args.end(), {"-ss", number(s.musicStart), "-t", number(s.duration), "-i", s.musicPath});
    }
    args.insert(args.end(), {"-map", "0:v:0"});
    if (audio) {
        args.insert(args.end(), {"-map", "1:a:0"});
        const std::vector<std::string> sound = audioArguments(s.audioKbps);
        args.insert(args.end(), sound.begin(), sound.end());
    }
    args.insert(args.end(), {"-c:v", "libx264", "-preset", "medium"});
    if (s.videoKbps > 0) {
        // x264 holds an average bit rate only as a ceiling; the HRD's CBR mode pads with filler so
        // quiet scenes do not fall below the rate either.
        const std::string rate = std::to_string(s.videoKbps) + "k";
        args.insert(args.end(), {"-b:v", rate, "-minrate", rate, "-maxrate", rate, "-bufsize", rate, "-x264-params",
                                 "nal-hrd=cbr"});
    } else {
        args.insert(args.end(), {"-crf", std::to_string(s.crf)});
    }
    if (!s.profile.empty()) args.insert(args.end(), {"-profile:v", s.profile});
    if (!s.level.empty()) args.insert(args.end(), {"-level:v", s.level});
    args.insert(args.end(), {"-pix_fmt", "yuv420p", "-r", std::to_string(s.fps), "-movflags", "+faststart", "-f", "mp4", s.path});
    return args;
}

std::vector<std::string> audioArguments(int kbps)
{
    return {"-c:a", "aac", "-ac", "2", "-b:a", std::to_string(kbps) + "k"};
}

VideoEncoder::~VideoEncoder()
{
    if (child_ > 0) finish();
}

bool VideoEncoder::open(const VideoSettings& settings)
{
    const ChildProcess child = startChild(ffmpegArguments(settings), ChildPipe::Input, true);
    if (child.pid < 0) return false;
    pipe_ = child.pipe;
    child_ = child.pid;
    return true;
}

bool VideoEncoder::write(const std::vector<uint8_t>& rgb)
{
    return pipe_ >= 0 && writeAll(pipe_, rgb.data(), rgb.size());
}

bool VideoEncoder::finish()
{
    if (pipe_ >= 0) ::close(pipe_);
    pipe_ = -1;
    if (child_ <= 0) return false;
    const pid_t child = child_;
    child_ = -1;
    return waitChild(child);
}
