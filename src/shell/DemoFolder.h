// Where the player finds its demo: the working directory when its data/ holds the script, else the
// folder of the executable (a release started by a double click, from another folder or by a compo
// launcher). Everything the demo opens is a path relative to the working directory, so the player
// simply makes the executable's folder the working directory.
#pragma once
#include <filesystem>

// The running executable's own path (/proc/self/exe on Linux, the module's file name on Windows);
// empty when it cannot be found.
std::filesystem::path executablePath();

// Changes into the executable's folder when the working directory has no data/vessikscript.txt and
// that folder has one. Otherwise (or when the executable's path cannot be found) nothing changes,
// and a missing script is reported as always.
void enterDemoFolder();
