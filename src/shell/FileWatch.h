// Watching folders for changed files (inotify): a folder tree, and single folders added later. A
// file counts as changed once it has been quiet for a moment after its last write, create, delete or
// rename into place, so that a file an editor writes in several steps is taken once it is whole.
// A folder made in the tree, or renamed or moved into it, is watched when its event is read, and
// the files already in it then count as changed; a folder removed, or renamed or moved out, is no
// longer watched. When the kernel's event queue overflows and events are lost, the watch says so
// once things are quiet again, and watches the tree afresh.
// Not supported: a root that is itself removed or renamed; symbolic links to folders are watched
// but not followed further down; one folder reached by two paths is reported under one of them.
#pragma once
#include <chrono>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

struct FileChanges {
    std::vector<std::string> paths; // "root/sub/name", or "folder/name" for a single folder
    bool lostTrack = false;         // events were lost: any file may have changed
};

class FileWatch {
public:
    // Watches `root` and every folder below it. Prints why and watches nothing when inotify is not
    // available.
    explicit FileWatch(const std::string& root);
    ~FileWatch();
    FileWatch(const FileWatch&) = delete;
    FileWatch& operator=(const FileWatch&) = delete;

    // Also watches `folder` itself (not the folders below it) from now on, as long as it exists.
    // False when it cannot be watched (missing, say).
    bool watchFolder(const std::string& folder);

    // Reads the pending notifications without blocking and returns the files that have had no
    // event for `quiet`, and whether events were lost (once no event has come for `quiet`).
    FileChanges settled(std::chrono::milliseconds quiet);

private:
    using Clock = std::chrono::steady_clock;
    void readEvents(Clock::time_point now);
    // True when the tree's folders must be looked at again.
    bool take(int wd, uint32_t mask, const std::string& name, Clock::time_point now);
    bool isWatchedFolder(const std::string& path) const;
    // Watches every folder of the tree and the single folders as they are now and forgets the
    // rest; the files in folders not watched before count as changed when `markNew`.
    void syncFolders(Clock::time_point now, bool markNew);
    void markFiles(const std::string& folder, Clock::time_point now);

    int fd_ = -1;
    std::string root_;
    std::set<std::string> single_;                     // folders watched without those below
    std::map<int, std::string> folders_;               // watch descriptor -> folder path
    std::map<std::string, Clock::time_point> pending_; // path -> time of its last event
    bool lostTrack_ = false;
    Clock::time_point lastEvent_{};
};
