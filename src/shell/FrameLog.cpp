// The presented-frame log (see FrameLog.h). The file is opened on the first frame and written through
// the C library's buffer, so a frame costs one pixel read-back and one formatted line.
#include "shell/FrameLog.h"
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include "resources/Gl.h"
#include "shell/Platform.h"

namespace {
struct FrameLog {
    std::FILE* file = nullptr;
    double wallMs = 0.0;
    double musicTime = 0.0;

    FrameLog()
    {
        const char* path = std::getenv("ZEMBLAR_FRAME_LOG");
        if (path && *path) file = std::fopen(path, "w");
        // Line by line, so a run that ends without unwinding (a killed process) keeps its frames.
        if (file) std::setvbuf(file, nullptr, _IOLBF, BUFSIZ);
    }
    ~FrameLog()
    {
        if (file) std::fclose(file);
    }
};

FrameLog& frameLog()
{
    static FrameLog log;
    return log;
}
} // namespace

void frameLogClock(double wallMs, double musicTime)
{
    FrameLog& log = frameLog();
    log.wallMs = wallMs;
    log.musicTime = musicTime;
}

void presentFrame(SDL_Window* window)
{
    FrameLog& log = frameLog();
    if (!log.file) {
        SDL_GL_SwapWindow(window);
        return;
    }
    int width = 0, height = 0;
    SDL_GL_GetDrawableSize(window, &width, &height);
    unsigned char rgba[4] = {0, 0, 0, 0};
    glReadPixels(width / 2, height / 2, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    SDL_GL_SwapWindow(window);
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    const long long ns = std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
    std::fprintf(log.file, "%lld %.3f %.6f %d %.3f\n", ns, log.wallMs, log.musicTime, (rgba[0] + rgba[1] + rgba[2]) / 3,
                 audioOutputLatency() * 1000.0);
}
