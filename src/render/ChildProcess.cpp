// fork/exec with at most one pipe, on POSIX.
#include "render/ChildProcess.h"
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include "render/StopSignals.h"

namespace {
// In the child, between fork and exec. The parent-death signal outlives exec; a parent that died
// before it was set shows as a changed parent.
void setUpChild(int childEnd, ChildPipe pipeTo, int keepFd, bool quietOutput, int stopSignal, pid_t parent,
                const sigset_t& mask)
{
    ::prctl(PR_SET_PDEATHSIG, stopSignal);
    if (::getppid() != parent) ::_exit(127);
    resetStopSignalsInChild(mask);
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
                        bool quietOutput, int stopSignal)
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
    const pid_t parent = ::getpid();
    sigset_t mask;
    blockStopSignals(mask); // until the child is tracked
    const pid_t pid = ::fork();
    if (pid < 0) {
        restoreSignalMask(mask);
        if (report) std::perror("fork");
        if (pipeTo != ChildPipe::None) ::close(fds[0]), ::close(fds[1]);
        return child;
    }
    if (pid == 0) {
        setUpChild(childEnd, pipeTo, keepFd, quietOutput, stopSignal, parent, mask);
        if (pipeTo != ChildPipe::None) ::close(fds[0]), ::close(fds[1]);
        ::execvp(argv[0], argv.data());
        if (report) std::fprintf(stderr, "cannot run %s: %s\n", argv[0], std::strerror(errno));
        ::_exit(127);
    }
    trackChild(pid, stopSignal);
    restoreSignalMask(mask);
    if (childEnd >= 0) ::close(childEnd);
    child.pid = pid;
    child.pipe = ourEnd;
    return child;
}

int childExitStatus(pid_t pid)
{
    if (pid <= 0) return 1;
    // Forgotten once it has ended but before it is reaped, so a stop never signals a reused id.
    siginfo_t info;
    while (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT) < 0) {
        if (errno == EINTR) continue;
        forgetChild(pid);
        return 1;
    }
    forgetChild(pid);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return 1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}
