// inotify behind FileWatch.
#include "shell/FileWatch.h"
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sys/inotify.h>
#include <unistd.h>

namespace {
constexpr uint32_t kEvents = IN_CLOSE_WRITE | IN_MODIFY | IN_CREATE | IN_DELETE | IN_MOVED_TO | IN_MOVED_FROM;
} // namespace

FileWatch::FileWatch(const std::string& root)
{
    fd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ < 0) {
        std::fprintf(stderr, "no file watching: %s\n", std::strerror(errno));
        return;
    }
    std::vector<std::string> folders{root};
    std::error_code ec;
    for (std::filesystem::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_directory(ec)) folders.push_back(it->path().string());
    for (const std::string& folder : folders) {
        const int wd = inotify_add_watch(fd_, folder.c_str(), kEvents);
        if (wd >= 0) folders_[wd] = folder;
    }
}

FileWatch::~FileWatch()
{
    if (fd_ >= 0) close(fd_);
}

std::vector<std::string> FileWatch::settled(std::chrono::milliseconds quiet)
{
    const auto now = Clock::now();
    alignas(inotify_event) char buffer[8192];
    for (;;) {
        const ssize_t got = fd_ < 0 ? -1 : read(fd_, buffer, sizeof buffer);
        if (got <= 0) break;
        for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(inotify_event)) <= got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            auto folder = folders_.find(event->wd);
            if (folder == folders_.end() || event->len == 0 || at > got) continue;
            pending_[folder->second + "/" + std::string(event->name)] = now;
        }
    }
    std::vector<std::string> out;
    for (auto it = pending_.begin(); it != pending_.end();) {
        if (now - it->second < quiet) {
            ++it;
            continue;
        }
        out.push_back(it->first);
        it = pending_.erase(it);
    }
    return out;
}
