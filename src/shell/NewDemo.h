// zemblar --new DIR: makes a working starter demo in a new (or empty) folder: the annotated script,
// its music loop and three-stage program from the project's starter/ folder, and the programs, font
// and textures that starter/shared-files.txt names from the project's own data/.
//
// The project folder is the first of these that holds starter/data/vessikscript.txt: the folder
// above the executable's (a build tree inside the project), share/zemblar beside the executable's
// folder (an install), and the source folder the program was built from. Nothing else is needed:
// no network, no generator run.
#pragma once
#include <string>

// Returns the exit status: 0 made, 2 when DIR exists and is not an empty folder (nothing is
// touched), 1 when the starter files cannot be found or written (what was written is removed).
int runNewDemo(const std::string& dir);
