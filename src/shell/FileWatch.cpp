// inotify behind FileWatch. Folder events (made, removed, renamed) and a lost-events notice make
// the watch walk the tree again after the batch of events they came in: simpler and surer than
// following each rename, and the trees watched here hold a few dozen folders.
#include "shell/FileWatch.h"
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <sys/inotify.h>
#include <unistd.h>

namespace {
constexpr uint32_t kEvents = IN_CLOSE_WRITE | IN_MODIFY | IN_CREATE | IN_DELETE | IN_MOVED_TO | IN_MOVED_FROM;

// `root` and every folder below it (symbolic links to folders included, not followed further).
std::vector<std::string> treeFolders(const std::string& root)
{
    std::vector<std::string> folders;
    std::error_code ec;
    if (!std::filesystem::is_directory(root, ec)) return folders;
    folders.push_back(root);
    for (std::filesystem::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_directory(ec)) folders.push_back(it->path().string());
    return folders;
}
} // namespace

FileWatch::FileWatch(const std::string& root) : root_(root)
{
    fd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ < 0) {
        std::fprintf(stderr, "no file watching: %s\n", std::strerror(errno));
        return;
    }
    syncFolders(Clock::now(), false);
}

FileWatch::~FileWatch()
{
    if (fd_ >= 0) close(fd_);
}

bool FileWatch::watchFolder(const std::string& folder)
{
    if (single_.count(folder)) return true;
    if (fd_ < 0) return false;
    const int wd = inotify_add_watch(fd_, folder.c_str(), kEvents | IN_ONLYDIR);
    if (wd < 0) return false;
    single_.insert(folder);
    folders_[wd] = folder;
    return true;
}

FileChanges FileWatch::settled(std::chrono::milliseconds quiet)
{
    const auto now = Clock::now();
    readEvents(now);
    FileChanges out;
    if (lostTrack_ && now - lastEvent_ >= quiet) {
        out.lostTrack = true;
        lostTrack_ = false;
    }
    for (auto it = pending_.begin(); it != pending_.end();) {
        if (now - it->second < quiet) {
            ++it;
            continue;
        }
        out.paths.push_back(it->first);
        it = pending_.erase(it);
    }
    return out;
}

void FileWatch::readEvents(Clock::time_point now)
{
    alignas(inotify_event) char buffer[8192];
    bool resync = false;
    for (;;) {
        const ssize_t got = fd_ < 0 ? -1 : read(fd_, buffer, sizeof buffer);
        if (got <= 0) break;
        lastEvent_ = now;
        for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(inotify_event)) <= got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            if (at > got) break;
            // The name is padded with NULs to its length.
            const std::string name(event->name, strnlen(event->name, event->len));
            resync = take(event->wd, event->mask, name, now) || resync;
        }
    }
    if (resync) syncFolders(now, true);
}

bool FileWatch::take(int wd, uint32_t mask, const std::string& name, Clock::time_point now)
{
    if (mask & IN_Q_OVERFLOW) {
        lostTrack_ = true;
        return true; // folders may have come and gone unseen
    }
    const auto folder = folders_.find(wd);
    if (folder == folders_.end()) return false;
    if (mask & IN_IGNORED) { // the folder is gone, or no longer watched
        single_.erase(folder->second);
        folders_.erase(folder);
        return false;
    }
    if (name.empty()) return false;
    const std::string path = folder->second + "/" + name;
    std::error_code ec;
    const bool created = (mask & (IN_CREATE | IN_MOVED_TO)) != 0;
    if ((mask & IN_ISDIR) || (created && std::filesystem::is_directory(path, ec)) || isWatchedFolder(path))
        return true; // a folder (or a link to one) came or went
    pending_[path] = now;
    return false;
}

bool FileWatch::isWatchedFolder(const std::string& path) const
{
    for (const auto& entry : folders_)
        if (entry.second == path) return true;
    return false;
}

void FileWatch::syncFolders(Clock::time_point now, bool markNew)
{
    if (fd_ < 0) return;
    std::set<std::string> before;
    for (const auto& entry : folders_) before.insert(entry.second);
    std::vector<std::string> wanted = treeFolders(root_);
    if (wanted.empty()) std::fprintf(stderr, "not watching %s: it is not a folder\n", root_.c_str());
    wanted.insert(wanted.end(), single_.begin(), single_.end());
    std::map<int, std::string> watched;
    for (const std::string& folder : wanted) {
        const int wd = inotify_add_watch(fd_, folder.c_str(), kEvents | IN_ONLYDIR);
        if (wd >= 0)
            watched[wd] = folder;
        else if (!before.count(folder))
            std::fprintf(stderr, "not watching %s: %s\n", folder.c_str(), std::strerror(errno));
    }
    for (const auto& entry : folders_)
        if (!watched.count(entry.first)) inotify_rm_watch(fd_, entry.first);
    folders_ = watched;
    for (auto it = single_.begin(); it != single_.end();) it = isWatchedFolder(*it) ? std::next(it) : single_.erase(it);
    if (!markNew) return;
    for (const auto& entry : folders_)
        if (!before.count(entry.second)) markFiles(entry.second, now);
}

void FileWatch::markFiles(const std::string& folder, Clock::time_point now)
{
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (!it->is_directory(ec)) pending_[folder + "/" + it->path().filename().string()] = now;
}
