// The starter demo: found beside the executable or in the source tree, copied file by file into the
// new folder. Copies are made writable (an install may be read-only) so the new demo can be edited.
#include "shell/NewDemo.h"
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>
#include "shell/DemoFolder.h"

#ifndef ZEMBLAR_PROJECT_DIR
#define ZEMBLAR_PROJECT_DIR ""
#endif

namespace fs = std::filesystem;

namespace {
const char* const kStarterScript = "starter/data/vessikscript.txt";
const char* const kSharedList = "starter/shared-files.txt";

// The project folder that holds the starter, or an empty path.
fs::path projectFolder()
{
    const fs::path exe = executablePath();
    std::vector<fs::path> candidates;
    if (!exe.empty()) {
        candidates.push_back(exe.parent_path().parent_path());
        candidates.push_back(exe.parent_path().parent_path() / "share" / "zemblar");
    }
    if (*ZEMBLAR_PROJECT_DIR) candidates.push_back(ZEMBLAR_PROJECT_DIR);
    for (const fs::path& folder : candidates) {
        std::error_code error;
        if (fs::is_regular_file(folder / kStarterScript, error)) return folder;
    }
    return {};
}

// Every file to write, as (source, path inside the new demo).
std::vector<std::pair<fs::path, fs::path>> starterFiles(const fs::path& project, std::string& error)
{
    std::vector<std::pair<fs::path, fs::path>> files;
    const fs::path starter = project / "starter";
    std::error_code code;
    for (fs::recursive_directory_iterator it(starter / "data", code), end; it != end && !code; it.increment(code))
        if (it->is_regular_file()) files.emplace_back(it->path(), fs::relative(it->path(), starter));
    if (code) return error = "cannot read " + (starter / "data").string() + ": " + code.message(), files;
    std::ifstream list(project / kSharedList);
    if (!list) return error = "cannot read " + (project / kSharedList).string(), files;
    std::string line;
    while (std::getline(list, line)) {
        line.erase(line.find_last_not_of(" \t\r") + 1);
        if (!line.empty() && line[0] != '#') files.emplace_back(project / line, line);
    }
    return files;
}

// Copies the files; `written` gets the name of every file made, in order.
bool copyInto(const fs::path& dir, const std::vector<std::pair<fs::path, fs::path>>& files,
              std::vector<fs::path>& written, std::string& error)
{
    for (const auto& [source, name] : files) {
        std::error_code code;
        const fs::path target = dir / name;
        fs::create_directories(target.parent_path(), code);
        if (!code) fs::copy_file(source, target, code);
        if (!code) written.push_back(name);
        if (!code) fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, code);
        if (code) return error = "cannot copy " + source.string() + " to " + target.string() + ": " + code.message(), false;
    }
    return true;
}

// Takes back a failed copy: the files written, then every folder on their way that is empty now,
// the new folder itself included when it was made here. Nothing else is removed.
void removeWritten(const fs::path& dir, const std::vector<fs::path>& written, bool made)
{
    std::error_code ignored;
    for (const fs::path& name : written) fs::remove(dir / name, ignored);
    for (const fs::path& name : written)
        for (fs::path folder = name.parent_path(); !folder.empty(); folder = folder.parent_path())
            fs::remove(dir / folder, ignored); // only an empty folder goes
    if (made) fs::remove(dir, ignored);
}

void printDone(const std::string& dir)
{
    const fs::path path = executablePath();
    const std::string exe = path.empty() ? std::string("zemblar") : path.string();
    std::printf("Made a starter demo in %s:\n"
                "  data/vessikscript.txt   the script, with notes: start here\n"
                "  data/music/starter.ogg  an 8-bar loop at 125 BPM (the MUSIC line names it)\n"
                "  data/shaders/           the programs the script links\n"
                "  data/textures/          the font and two textures\n"
                "Play it:  cd %s && %s\n"
                "Edit it:  cd %s && %s --edit\n"
                "Check it: cd %s && %s --check\n",
                dir.c_str(), dir.c_str(), exe.c_str(), dir.c_str(), exe.c_str(), dir.c_str(), exe.c_str());
}
} // namespace

int runNewDemo(const std::string& dir)
{
    std::error_code code;
    const bool exists = fs::exists(dir, code);
    if (exists && (!fs::is_directory(dir, code) || !fs::is_empty(dir, code))) {
        std::fprintf(stderr, "zemblar: %s exists and is not an empty folder: nothing was written\n", dir.c_str());
        return 2;
    }
    const fs::path project = projectFolder();
    if (project.empty()) {
        std::fprintf(stderr, "zemblar: the starter demo (%s) is not beside this program nor in %s\n", kStarterScript,
                     *ZEMBLAR_PROJECT_DIR ? ZEMBLAR_PROJECT_DIR : "its source folder");
        return 1;
    }
    std::string error;
    const auto files = starterFiles(project, error);
    if (!error.empty() || (!exists && !fs::create_directories(dir, code))) {
        std::fprintf(stderr, "zemblar: %s\n", error.empty() ? ("cannot make " + dir + ": " + code.message()).c_str()
                                                            : error.c_str());
        return 1;
    }
    std::vector<fs::path> written;
    if (!copyInto(dir, files, written, error)) {
        removeWritten(dir, written, !exists);
        std::fprintf(stderr, "zemblar: %s (nothing was kept)\n", error.c_str());
        return 1;
    }
    printDone(dir);
    return 0;
}
