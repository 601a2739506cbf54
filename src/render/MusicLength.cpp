// ffprobe's "format=duration" of a file, read from a pipe. The path is passed as one argument
// (fork/exec, no shell).
#include "render/MusicLength.h"
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

double musicLength(const char* path)
{
    if (!path || ::access(path, R_OK) != 0) return -1.0;
    int fds[2];
    if (::pipe(fds) != 0) return -1.0;
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return -1.0;
    }
    if (pid == 0) {
        ::dup2(fds[1], STDOUT_FILENO);
        ::close(fds[0]);
        ::close(fds[1]);
        ::execlp("ffprobe", "ffprobe", "-v", "error", "-show_entries", "format=duration", "-of",
                 "default=noprint_wrappers=1:nokey=1", path, static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(fds[1]);
    std::string text;
    char buffer[256];
    ssize_t n;
    while ((n = ::read(fds[0], buffer, sizeof buffer)) > 0)
        if (text.size() < 4096) text.append(buffer, static_cast<size_t>(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1.0;
    char* rest = nullptr;
    const double seconds = std::strtod(text.c_str(), &rest);
    if (rest == text.c_str() || !std::isfinite(seconds) || seconds <= 0.0) return -1.0;
    return seconds;
}
