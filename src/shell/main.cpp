// Process entry. Without arguments the whole demo runs in runZemblar(); "--edit" starts the
// authoring mode, "--check" the script check and "--new" makes a starter demo (see Options.h);
// anything else prints the usage.
// Standard output is line-buffered even when it goes to a file or a pipe, so a demo maker who logs
// a run (`./zemblar | tee run.log`) sees each "Doing:" line as its event fires, not at exit.
#include <cstdio>
#include <string>

#include "shell/Editor.h"
#include "shell/NewDemo.h"
#include "shell/Options.h"
#include "shell/ScriptCheck.h"
#include "shell/Shell.h"

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
    Options options;
    std::string error;
    if (!parseOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "zemblar: %s\n%s", error.c_str(), kUsage);
        return 2;
    }
    switch (options.mode) {
    case Options::Mode::Check: return runScriptCheck(options.script);
    case Options::Mode::Edit: return runEditor(options.at);
    case Options::Mode::New: return runNewDemo(options.dir);
    case Options::Mode::Play: break;
    }
    return runZemblar();
}
