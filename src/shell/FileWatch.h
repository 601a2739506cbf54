// Watching a folder tree for changed files (inotify): a file counts as changed once it has been
// quiet for a moment after its last write, create, delete or rename into place, so that a file an
// editor writes in several steps is taken once it is whole.
#pragma once
#include <chrono>
#include <map>
#include <string>
#include <vector>

class FileWatch {
public:
    // Watches `root` and every folder below it as they are at this call. Prints why and watches
    // nothing when inotify is not available.
    explicit FileWatch(const std::string& root);
    ~FileWatch();
    FileWatch(const FileWatch&) = delete;
    FileWatch& operator=(const FileWatch&) = delete;

    // Reads the pending notifications without blocking and returns the paths ("root/sub/name")
    // that have had no event for `quiet`.
    std::vector<std::string> settled(std::chrono::milliseconds quiet);

private:
    using Clock = std::chrono::steady_clock;
    int fd_ = -1;
    std::map<int, std::string> folders_;               // watch descriptor -> folder path
    std::map<std::string, Clock::time_point> pending_; // path -> time of its last event
};
