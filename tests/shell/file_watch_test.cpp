// The file watch on a temporary tree, with no quiet time so that every event read is settled: folders
// made, renamed, moved in and out and removed after the start, files saved by a rename and removed;
// then a quiet time, from both sides. Lost events: live_reload_gltest.cpp.
#include <gtest/gtest.h>
#include <chrono>
#include <filesystem>
#include <thread>
#include "shell/FileWatch.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

constexpr std::chrono::milliseconds kNow(0);
using Paths = std::vector<std::string>;

TEST(FileWatch, FoldersMadeRenamedMovedAndRemovedAfterTheStartAreFollowed)
{
    ScopedWorkDir dir;
    dir.write("w/old/f", "1");
    FileWatch watch("w");
    const struct {
        const char* what;
        void (*change)(const ScopedWorkDir&);
        Paths settled;
    } steps[] = {
        {"made", [](const ScopedWorkDir& d) { d.write("w/a/b/f", ""), d.write("w/a/g", ""); }, {"w/a/b/f", "w/a/g"}},
        {"written in it", [](const ScopedWorkDir& d) { d.write("w/a/b/f", "2"); }, {"w/a/b/f"}},
        {"renamed", [](const ScopedWorkDir&) { fs::rename("w/a", "w/c"); }, {"w/c/b/f", "w/c/g"}},
        {"written after the rename", [](const ScopedWorkDir& d) { d.write("w/c/b/f", "3"); }, {"w/c/b/f"}},
        {"moved out", [](const ScopedWorkDir&) { fs::rename("w/c", "out"); }, {}},
        {"written out of the tree", [](const ScopedWorkDir& d) { d.write("out/b/f", "4"); }, {}},
        {"moved in", [](const ScopedWorkDir&) { fs::rename("out", "w/in"); }, {"w/in/b/f", "w/in/g"}},
        {"removed", [](const ScopedWorkDir&) { fs::remove_all("w/old"); }, {"w/old/f"}},
        {"made again", [](const ScopedWorkDir& d) { d.write("w/old/h", "1"); }, {"w/old/h"}},
        {"saved by a rename",
         [](const ScopedWorkDir& d) { d.write("w/.h~", "2"), fs::rename("w/.h~", "w/old/h"); },
         {"w/.h~", "w/old/h"}},
        {"a file removed", [](const ScopedWorkDir&) { fs::remove("w/old/h"); }, {"w/old/h"}},
    };
    for (const auto& step : steps) {
        step.change(dir);
        const FileChanges changes = watch.settled(kNow); // in path order
        EXPECT_EQ(changes.paths, step.settled) << step.what;
        EXPECT_FALSE(changes.lostTrack) << step.what;
    }
    // A file is taken once it has had no event for the quiet time, and only then.
    dir.write("w/in/g", "5");
    EXPECT_EQ(watch.settled(std::chrono::milliseconds(100)).paths, Paths{});
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_EQ(watch.settled(std::chrono::milliseconds(100)).paths, Paths{"w/in/g"});
    EXPECT_EQ(watch.settled(kNow).paths, Paths{});
}
