// The files a show names, for the editor to watch and reload: the script, the stage files of every
// program linked, every texture name asked for (as written, and under "data/textures/", the two
// places it is looked up) and every mesh file asked for while the mesh memory is on, whether they
// loaded or not. Paths are relative to the working directory as the show writes them, in lexically
// normal form ("a/./b" is "a/b"); another spelling of the same file (through a symbolic link, or
// absolute for relative) is not recognised.
#pragma once
#include <string>
#include <vector>

// Every file the show with this script names so far.
std::vector<std::string> namedFiles(const std::string& scriptPath);

// Of the changed paths, those the show names and that hold something now (a file missing or empty
// is being written or was deleted: the show keeps what it has). A stage or texture the libraries
// hold is loaded again into place (a failure is reported and the last good one stays); anything
// else (a stage that never compiled, a texture that never loaded, a mesh, the script) is left to
// the rebuild the caller makes. Returns the paths taken, normalised, each once, in the order given.
std::vector<std::string> takeChangedFiles(const std::vector<std::string>& changed, const std::string& scriptPath);

// Every stage and texture the libraries hold loaded again.
void reloadHeldFiles();
