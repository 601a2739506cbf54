// Live reload: the watch's settled changes to the session. Files the show names outside data/ are
// looked for every half second or so of calls, as the show names new ones when it reaches them.
#include "shell/LiveReload.h"
#include <filesystem>
#include <string>
#include "resources/Messages.h"

namespace {
const char* const kDataFolder = "data";
constexpr auto kQuiet = std::chrono::milliseconds(150); // a file is taken once quiet this long
constexpr uint32_t kCallsBetweenLooks = 30;
} // namespace

LiveReload::LiveReload() : watch_(kDataFolder) {}

bool LiveReload::apply(EditSession& session, double t)
{
    if (calls_++ % kCallsBetweenLooks == 0) watchNamedFolders(session);
    const FileChanges changes = watch_.settled(kQuiet);
    if (changes.lostTrack) {
        printMessage("File changes came faster than they could be followed: reloading everything\n");
        session.seek(t);
        session.reloadEverything();
        return true;
    }
    if (changes.paths.empty()) return false;
    session.seek(t);
    return session.reload(changes.paths);
}

void LiveReload::watchNamedFolders(const EditSession& session)
{
    const std::string inData = std::string(kDataFolder) + "/";
    for (const std::string& path : session.namedFiles()) {
        if (path.rfind(inData, 0) == 0) continue;
        const std::string folder = std::filesystem::path(path).parent_path().string();
        watch_.watchFolder(folder.empty() ? "." : folder);
    }
}
