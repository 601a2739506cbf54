// ffprobe's "format=duration" of a file, read from the child's output. The path is passed as one
// argument (no shell).
#include "render/MusicLength.h"
#include <cmath>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include "render/ChildProcess.h"

double musicLength(const char* path)
{
    if (!path || ::access(path, R_OK) != 0) return -1.0;
    const ChildProcess child = startChild({"ffprobe", "-v", "error", "-show_entries", "format=duration", "-of",
                                           "default=noprint_wrappers=1:nokey=1", path},
                                          ChildPipe::Output, false);
    if (child.pid < 0) return -1.0;
    std::string text;
    char buffer[256];
    ssize_t n;
    while ((n = ::read(child.pipe, buffer, sizeof buffer)) > 0)
        if (text.size() < 4096) text.append(buffer, static_cast<size_t>(n));
    ::close(child.pipe);
    if (!waitChild(child.pid)) return -1.0;
    char* rest = nullptr;
    const double seconds = std::strtod(text.c_str(), &rest);
    if (rest == text.c_str() || !std::isfinite(seconds) || seconds <= 0.0) return -1.0;
    return seconds;
}
