// The edit session on the shipped show: a seek back rebuilds and lands in the state a seek forward
// reaches, and a hundred rebuilds in a row leave the resident size where the first left it (the
// effects and their vertex objects go with each rebuild; programs and textures are used again).
#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <unistd.h>
#include "demo/EditSession.h"
#include "effects/EffectRegistry.h"
#include "support/CaptureMessages.h"
#include "support/GlFixture.h"

namespace {
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kResidentSizeTells = false; // freed memory waits in AddressSanitizer's quarantine
#else
constexpr bool kResidentSizeTells = true;
#endif

long residentKiB()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

std::string cameraPoint()
{
    const Demoeffect* cam = EffectRegistry::findOrAdd("cam");
    return cam ? std::to_string(cam->motion.point[0]) + " " + std::to_string(cam->motion.point[1]) + " " +
                     std::to_string(cam->motion.point[2])
               : "none";
}
} // namespace

using EditSessionGl = GlTest;

TEST_F(EditSessionGl, SeekingBackRebuildsToTheSameStateAndRebuildsKeepMemoryFlat)
{
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(ZEMBLAR_SOURCE_DIR);
    capturedMessages([&] {
        EditSession session;
        session.seek(40.0);
        const std::string forward = cameraPoint();
        session.seek(80.0);
        session.seek(40.0);
        EXPECT_EQ(cameraPoint(), forward);
        EXPECT_DOUBLE_EQ(session.time(), 40.0);

        if (!kResidentSizeTells) return;
        session.seek(20.0);
        session.rebuild();
        const long first = residentKiB();
        for (int i = 0; i < 100; ++i) session.rebuild();
        const long last = residentKiB();
        std::fprintf(stderr, "resident after the first rebuild %ld KiB, after 100 more %ld KiB\n", first, last);
        EXPECT_LT(last, first + first / 10);
    });
    std::filesystem::current_path(previous);
}
