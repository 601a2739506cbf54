// fork/exec with one pipe, on POSIX.
#include "render/ChildProcess.h"
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

ChildProcess startChild(const std::vector<std::string>& args, ChildPipe pipeTo, bool report)
{
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    ChildProcess child;
    int fds[2];
    if (::pipe(fds) != 0) {
        if (report) std::perror("pipe");
        return child;
    }
    // fds[0] is the read end, fds[1] the write end.
    const int childEnd = pipeTo == ChildPipe::Input ? fds[0] : fds[1];
    const int ourEnd = pipeTo == ChildPipe::Input ? fds[1] : fds[0];
    if (pipeTo == ChildPipe::Input) std::signal(SIGPIPE, SIG_IGN);
    const pid_t pid = ::fork();
    if (pid < 0) {
        if (report) std::perror("fork");
        ::close(fds[0]);
        ::close(fds[1]);
        return child;
    }
    if (pid == 0) {
        std::signal(SIGPIPE, SIG_DFL);
        ::dup2(childEnd, pipeTo == ChildPipe::Input ? STDIN_FILENO : STDOUT_FILENO);
        ::close(fds[0]);
        ::close(fds[1]);
        ::execvp(argv[0], argv.data());
        if (report) std::fprintf(stderr, "cannot run %s: %s\n", argv[0], std::strerror(errno));
        ::_exit(127);
    }
    ::close(childEnd);
    child.pid = pid;
    child.pipe = ourEnd;
    return child;
}

bool waitChild(pid_t pid)
{
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
