// Process entry: the whole demo runs in runZemblar(). The demo takes no command-line arguments.
// Standard output is line-buffered even when it goes to a file or a pipe, so a demo maker who logs
// a run (`./zemblar | tee run.log`) sees each "Doing:" line as its event fires, not at exit.
#include <cstdio>

#include "shell/Shell.h"

int main(int, char**)
{
    std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
    return runZemblar();
}
