// A renderer stopped by a signal, as a forked copy of this test: its job stops and is waited for,
// the files it (or the job) was making go, and it ends by the signal it got; killed outright, its
// job still stops. Files keep a temporary name until committed.
#include <gtest/gtest.h>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>
#include "render/ChildProcess.h"
#include "render/PendingFile.h"
#include "support/TempDir.h"

namespace {
// Whether the process still runs after up to `seconds` (a zombie has ended).
bool running(pid_t pid, double seconds)
{
    for (int waited = 0;; waited += 10, ::usleep(10000)) {
        std::string fields;
        std::getline(std::ifstream("/proc/" + std::to_string(pid) + "/stat"), fields);
        const size_t name = fields.rfind(')');
        if (name == std::string::npos || fields.size() < name + 3 || fields[name + 2] == 'Z') return false;
        if (waited >= seconds * 1000) return true;
    }
}

// The renderer: a frame half written, and a job that, as it stops, writes the segment its renderer
// is to remove. Returns the job's id.
pid_t startRendering()
{
    // As started from a terminal: a test run under nohup or as a background job inherits the hang-up
    // or the interrupt ignored, and a renderer keeps an ignored hang-up ignored.
    for (int s : {SIGHUP, SIGINT}) ::signal(s, SIG_DFL);
    installStopHandlers(false);
    static PendingFile half("half.png");
    std::fputs("ha", half.create());
    if (!std::filesystem::exists("half.png.partial") || std::filesystem::exists("half.png")) return -1;
    static RemoveOnStop part;
    part.mark("show.part1of2.mp4");
    const pid_t job = startChild({"sh", "-c",
                                  "trap 'sleep 0.2; : > show.part1of2.mp4; exit' TERM; : > ready; "
                                  "while :; do sleep 0.05; done"},
                                 ChildPipe::None, false, -1, false, SIGTERM)
                          .pid;
    for (int i = 0; i < 500 && !std::filesystem::remove("ready"); ++i) ::usleep(10000);
    return job;
}
} // namespace

TEST(StopSignals, AStoppedRendererStopsItsJobAndRemovesWhatTheyWereMaking)
{
    ScopedWorkDir dir;
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGKILL}) {
        SCOPED_TRACE(signal);
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t renderer = ::fork();
        if (renderer == 0) {
            const pid_t job = startRendering();
            if (::write(ready[1], &job, sizeof job) != sizeof job || job <= 0) ::_exit(3);
            for (;;) ::pause();
        }
        ::close(ready[1]);
        pid_t job = -1;
        ASSERT_EQ(::read(ready[0], &job, sizeof job), ssize_t(sizeof job));
        ::close(ready[0]);
        ASSERT_GT(job, 0);
        ::kill(renderer, signal);
        int status = 0;
        ASSERT_EQ(::waitpid(renderer, &status, 0), renderer);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        // Killed outright, the renderer leaves its files, but its job stops by its parent-death signal.
        EXPECT_FALSE(running(job, signal == SIGKILL ? 1.0 : 0.0));
        if (running(job, 1.0)) ::kill(job, SIGKILL);
        if (signal != SIGKILL) {
            EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
        }
    }
}
