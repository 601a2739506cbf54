// The one way the offline renderer runs another program (ffmpeg, ffprobe): fork/exec with the
// program looked up on PATH and no shell, so arguments need no quoting, and one pipe to it.
#pragma once
#include <string>
#include <sys/types.h>
#include <vector>

struct ChildProcess {
    pid_t pid = -1; // -1 when the child could not be started
    int pipe = -1;  // our end of the pipe
};

// Which standard stream of the child the pipe replaces: its input (we write) or its output (we read).
enum class ChildPipe { Input, Output };

// Starts args[0] with args. While a child reads from us, a vanished reader makes our writes fail
// instead of raising SIGPIPE. With `report`, a failed pipe or fork and a program that cannot be run
// print their reason on standard error.
ChildProcess startChild(const std::vector<std::string>& args, ChildPipe pipeTo, bool report);
// Waits for the child (through interrupted waits). True when it exited with status 0.
bool waitChild(pid_t pid);
