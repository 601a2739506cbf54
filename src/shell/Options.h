// Command-line options of zemblar: no arguments plays the demo as always; "--edit [--at SECONDS]"
// starts the authoring mode at a time; "--check [SCRIPT]" checks a script without showing it;
// "--new DIR" makes a starter demo in a new folder.
#pragma once
#include <string>

struct Options {
    enum class Mode { Play, Edit, Check, New };
    Mode mode = Mode::Play;
    double at = 0.0;    // --edit: the music time to start at, seconds
    std::string script; // --check: the script to check (empty: the demo's own)
    std::string dir;    // --new: the folder to make the demo in
};

// Reads argv[1 .. argc - 1]. False (with the reason in `error`) on an unknown flag, a flag of the
// other mode, a missing or bad SECONDS (not a finite number of at least 0) or extra words.
bool parseOptions(int argc, const char* const* argv, Options& out, std::string& error);

// The usage text, one line per mode.
extern const char* const kUsage;
