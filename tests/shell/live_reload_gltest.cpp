// Live reload of textures named outside data/ (in a folder and beside data/) and in a folder of data/ made behind a real overflow
// of the kernel's event queue (more writes than it holds), which reloads everything once.
#include <gtest/gtest.h>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>
#include "shell/LiveReload.h"
#include "support/CaptureMessages.h"
#include "support/GlFixture.h"
#include "support/TempDir.h"

using LiveReloadGl = GlTest;

TEST_F(LiveReloadGl, FilesNamedOutsideDataAndInFoldersMadeBehindLostEventsAreTaken)
{
    ScopedWorkDir dir;
    dir.write("data/vessikscript.txt", "-1 img new image\n-1 img texture art/pic.png\n"
                                       "-1 late new image\n-1 late texture data/late/pic.png\n"
                                       "-1 top new image\n-1 top texture top.png\n");
    std::filesystem::create_directory("art");
    std::unique_ptr<EditSession> session;
    capturedMessages([&] { session = std::make_unique<EditSession>(); }); // the missing textures
    LiveReload live;
    // What the call made once the files have been quiet for longer than the live reload waits prints.
    const auto settle = [&](bool reloads) {
        EXPECT_FALSE(live.apply(*session, 1.0));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        bool reloaded = false;
        const std::string out = capturedMessages([&] { reloaded = live.apply(*session, 1.0); });
        EXPECT_EQ(reloaded, reloads);
        return out;
    };
    EXPECT_EQ(settle(false), "");
    const std::string png = ZEMBLAR_SOURCE_DIR "/tests/render/data/textures/particle.png";
    std::filesystem::copy_file(png, "art/pic.png");
    std::filesystem::copy_file(png, "top.png");
    EXPECT_EQ(settle(true), "Reloaded top.png art/pic.png at 1.000\nCouldn't find texture: data/late/pic.png\n");

    long limit = 0;
    std::ifstream("/proc/sys/fs/inotify/max_queued_events") >> limit;
    if (limit <= 0 || limit > (1 << 20)) GTEST_SKIP() << "an event queue of " << limit;
    {
        std::ofstream a("data/a"), b("data/b"); // in turn: two alike events in a row are merged
        for (long i = 0; i <= limit / 2 + 1; ++i) a.put('x').flush(), b.put('x').flush();
    }
    std::filesystem::create_directory("data/late");
    std::filesystem::copy_file(png, "data/late/pic.png");
    EXPECT_EQ(settle(true), "File changes came faster than they could be followed: reloading everything\n"
                            "Reloaded everything at 1.000\n");
    std::filesystem::copy_file(png, "data/late/pic.png", std::filesystem::copy_options::overwrite_existing);
    EXPECT_EQ(settle(true), "Reloaded data/late/pic.png at 1.000\n");
}
