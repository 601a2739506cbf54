// fork/exec with at most one pipe, on POSIX.
#include "render/ChildProcess.h"
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
// In the child, between fork and exec.
void setUpChild(int childEnd, ChildPipe pipeTo, int keepFd, bool quietOutput)
{
    std::signal(SIGPIPE, SIG_DFL);
    if (childEnd >= 0) ::dup2(childEnd, pipeTo == ChildPipe::Input ? STDIN_FILENO : STDOUT_FILENO);
    if (keepFd >= 0) ::fcntl(keepFd, F_SETFD, 0);
    if (quietOutput) {
        const int null = ::open("/dev/null", O_WRONLY);
        if (null >= 0) ::dup2(null, STDOUT_FILENO);
    }
}
} // namespace

ChildProcess startChild(const std::vector<std::string>& args, ChildPipe pipeTo, bool report, int keepFd,
                        bool quietOutput)
{
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    ChildProcess child;
    int fds[2] = {-1, -1}; // fds[0] is the read end, fds[1] the write end
    if (pipeTo != ChildPipe::None && ::pipe(fds) != 0) {
        if (report) std::perror("pipe");
        return child;
    }
    const int childEnd = pipeTo == ChildPipe::Input ? fds[0] : fds[1];
    const int ourEnd = pipeTo == ChildPipe::Input ? fds[1] : fds[0];
    if (pipeTo == ChildPipe::Input) std::signal(SIGPIPE, SIG_IGN);
    const pid_t pid = ::fork();
    if (pid < 0) {
        if (report) std::perror("fork");
        if (pipeTo != ChildPipe::None) ::close(fds[0]), ::close(fds[1]);
        return child;
    }
    if (pid == 0) {
        setUpChild(childEnd, pipeTo, keepFd, quietOutput);
        if (pipeTo != ChildPipe::None) ::close(fds[0]), ::close(fds[1]);
        ::execvp(argv[0], argv.data());
        if (report) std::fprintf(stderr, "cannot run %s: %s\n", argv[0], std::strerror(errno));
        ::_exit(127);
    }
    if (childEnd >= 0) ::close(childEnd);
    child.pid = pid;
    child.pipe = ourEnd;
    return child;
}

int childExitStatus(pid_t pid)
{
    if (pid <= 0) return 1;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return 1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}
