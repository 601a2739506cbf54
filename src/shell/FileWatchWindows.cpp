// FileWatch on Windows builds (the party release): there is no inotify, so the editor watches
// nothing there and says so once; F5 still reloads everything by hand.
#include "shell/FileWatch.h"
#include <cstdio>

FileWatch::FileWatch(const std::string&)
{
    std::fprintf(stderr, "no file watching in this build: press F5 to reload\n");
}

FileWatch::~FileWatch() = default;

bool FileWatch::watchFolder(const std::string&)
{
    return false;
}

FileChanges FileWatch::settled(std::chrono::milliseconds)
{
    return {};
}
