// The one way the offline renderer runs another program (ffmpeg, ffprobe, its own segment jobs):
// fork/exec with the program looked up on PATH (or given by path) and no shell, so arguments need
// no quoting, and at most one pipe to it. Every child is tracked for the stop handlers
// (StopSignals.h) and gets a signal when this process dies, however it dies, so no child outlives
// a killed render.
#pragma once
#include <csignal>
#include <string>
#include <sys/types.h>
#include <vector>

struct ChildProcess {
    pid_t pid = -1; // -1 when the child could not be started
    int pipe = -1;  // our end of the pipe, -1 without one
};

// Which standard stream of the child the pipe replaces: its input (we write), its output (we read),
// or none.
enum class ChildPipe { Input, Output, None };

// Starts args[0] with args. While a child reads from us, a vanished reader makes our writes fail
// instead of raising SIGPIPE. With `report`, a failed pipe or fork and a program that cannot be run
// print their reason on standard error. `keepFd` (if >= 0) stays open in the child although it is
// marked close-on-exec; `quietOutput` sends the child's standard output to /dev/null. `stopSignal`
// stops the child when this process stops or dies: SIGKILL for a program whose output is thrown
// away then, SIGTERM for one that cleans up after itself.
ChildProcess startChild(const std::vector<std::string>& args, ChildPipe pipeTo, bool report, int keepFd = -1,
                        bool quietOutput = false, int stopSignal = SIGKILL);
// Waits for the child (through interrupted waits): its exit status, 1 when it did not exit normally
// or cannot be waited for.
int childExitStatus(pid_t pid);
// True when the child exited with status 0.
inline bool waitChild(pid_t pid)
{
    return childExitStatus(pid) == 0;
}
