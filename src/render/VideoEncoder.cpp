// ffmpeg started with fork/exec and fed through a pipe; a broken pipe is an error, not a signal.
#include "render/VideoEncoder.h"
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

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
    std::vector<std::string> args = {"ffmpeg", "-hide_banner", "-loglevel", "error", "-nostdin", "-y",
                                     "-f", "rawvideo", "-pix_fmt", "rgb24",
                                     "-video_size", std::to_string(s.width) + "x" + std::to_string(s.height),
                                     "-framerate", std::to_string(s.fps), "-i", "pipe:0"};
    const bool audio = !s.musicPath.empty();
    if (audio) {
        args.insert(args.end(), {"-ss", number(s.musicStart), "-t", number(s.duration), "-i", s.musicPath});
    }
    args.insert(args.end(), {"-map", "0:v:0"});
    if (audio) args.insert(args.end(), {"-map", "1:a:0", "-c:a", "aac", "-b:a", "192k"});
    args.insert(args.end(), {"-c:v", "libx264", "-preset", "medium", "-crf", std::to_string(s.crf), "-pix_fmt", "yuv420p",
                             "-r", std::to_string(s.fps), "-movflags", "+faststart", s.path});
    return args;
}

VideoEncoder::~VideoEncoder()
{
    if (child_ > 0) finish();
}

bool VideoEncoder::open(const VideoSettings& settings)
{
    const std::vector<std::string> args = ffmpegArguments(settings);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    int fds[2];
    if (::pipe(fds) != 0) {
        std::perror("pipe");
        return false;
    }
    std::signal(SIGPIPE, SIG_IGN);
    const pid_t pid = ::fork();
    if (pid < 0) {
        std::perror("fork");
        ::close(fds[0]);
        ::close(fds[1]);
        return false;
    }
    if (pid == 0) {
        std::signal(SIGPIPE, SIG_DFL);
        ::dup2(fds[0], STDIN_FILENO);
        ::close(fds[0]);
        ::close(fds[1]);
        ::execvp(argv[0], argv.data());
        std::fprintf(stderr, "cannot run ffmpeg: %s\n", std::strerror(errno));
        ::_exit(127);
    }
    ::close(fds[0]);
    pipe_ = fds[1];
    child_ = pid;
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
    int status = 0;
    while (::waitpid(child_, &status, 0) < 0 && errno == EINTR) {}
    child_ = -1;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
