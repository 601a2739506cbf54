// Command-line parsing for the three ways to run zemblar.
#include "shell/Options.h"
#include "resources/Numbers.h"
#include <cmath>
#include <cstring>

const char* const kUsage = "usage: zemblar                      play the demo\n"
                           "       zemblar --edit [--at SECONDS]  authoring mode, starting at SECONDS\n"
                           "       zemblar --check [SCRIPT]       check a script (default data/vessikscript.txt)\n"
                           "       zemblar --new DIR              make a starter demo in DIR (new or empty)\n";

bool parseOptions(int argc, const char* const* argv, Options& out, std::string& error)
{
    out = Options{};
    if (argc <= 1) return true;
    const std::string mode = argv[1];
    if (mode == "--check") {
        out.mode = Options::Mode::Check;
        if (argc > 3) return error = "too many arguments", false;
        if (argc == 3) {
            if (argv[2][0] == '-') return error = std::string("unknown option ") + argv[2], false;
            out.script = argv[2];
        }
        return true;
    }
    if (mode == "--new") {
        out.mode = Options::Mode::New;
        if (argc != 3 || argv[2][0] == '\0') return error = "--new needs DIR", false;
        if (argv[2][0] == '-') return error = std::string("unknown option ") + argv[2], false;
        out.dir = argv[2];
        return true;
    }
    if (mode != "--edit") return error = "unknown option " + mode, false;
    out.mode = Options::Mode::Edit;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--at") != 0) return error = std::string("unknown option ") + argv[i], false;
        if (i + 1 >= argc || !readSeconds(argv[i + 1], HUGE_VAL, out.at))
            return error = std::string("--at needs SECONDS (a number of at least 0)"), false;
        ++i;
    }
    return true;
}
