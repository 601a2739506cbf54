// The shipped show without drawing: advancing on a frame clock ends in the state (every reachable
// effect's motion, scales, state bits, particle settings and text) of the same frames drawn. The edit
// session's seek back lands where a seek forward does, and a hundred rebuilds leave the resident size
// where the first left it (effects and vertex objects go with a rebuild; programs and textures stay).
#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>
#include <unistd.h>
#include "demo/Demo.h"
#include "demo/EditSession.h"
#include "demo/ProcessState.h"
#include "effects/Particles.h"
#include "effects/Text.h"
#include "support/CaptureMessages.h"
#include "support/GlFixture.h"

namespace {
constexpr uint32_t kFps = 20;
const double kTimes[] = {12.0, 50.0, 95.0, 130.0};

void describe(const Demoeffect* e, std::set<const Demoeffect*>& seen, std::ostringstream& out)
{
    if (!e || !seen.insert(e).second) return;
    const Motion& m = e->motion;
    for (float v : {m.point[0], m.point[1], m.point[2], m.direction[0], m.direction[1], m.direction[2]})
        out << v << ' ';
    out << m.motionFlags << ' ' << e->state << ' ' << e->scale << ' ' << e->startTime << '|';
    if (auto* t = dynamic_cast<const Text*>(e)) out << t->text << '|';
    if (auto* p = dynamic_cast<const Particles*>(e))
        out << p->countx << ' ' << p->county << ' ' << p->type << ' ' << p->anim << ' ' << +p->initialized << '|';
    for (const Demoeffect* c : e->children) describe(c, seen, out);
    out << '\n';
}

std::string sceneState(const Demo& demo)
{
    std::set<const Demoeffect*> seen;
    std::ostringstream out;
    out << std::hexfloat;
    for (const Demoeffect* e : demo.scene) describe(e, seen, out);
    return out.str();
}

// Builds the shipped show on a frame clock and reaches each time by drawing or by advancing.
std::vector<std::string> playShow(bool draw)
{
    resetProcessState();
    std::vector<std::string> states;
    capturedMessages([&] {
        FrameClock clock(kFps);
        Demo demo(clock);
        for (double t : kTimes) {
            const uint64_t frame = static_cast<uint64_t>(t * kFps);
            if (!draw) demo.advanceTo(clock, frame);
            for (; clock.frame() < frame; clock.advance()) demo.renderFrame();
            states.push_back(sceneState(demo));
        }
    });
    return states;
}

long residentKiB()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// Runs in the repository, with its shipped data/.
class ShippedShowGl : public GlTest {
    const std::filesystem::path previous_ = std::filesystem::current_path();

protected:
    void SetUp() override { GlTest::SetUp(), std::filesystem::current_path(ZEMBLAR_SOURCE_DIR); }
    void TearDown() override { std::filesystem::current_path(previous_), GlTest::TearDown(); }
};
} // namespace

TEST_F(ShippedShowGl, AdvancingEndsInTheStateOfDrawing)
{
    glEnable(GL_SCISSOR_TEST); // the drawn run only has to run its draws, not fill the window
    glScissor(0, 0, 1, 1);
    const std::vector<std::string> drawn = playShow(true);
    const std::vector<std::string> advanced = playShow(false);
    glDisable(GL_SCISSOR_TEST);
    for (size_t i = 0; i < drawn.size(); ++i) {
        EXPECT_GT(drawn[i].size(), 1000u) << kTimes[i]; // the show has built its scene by then
        EXPECT_EQ(drawn[i], advanced[i]) << kTimes[i];
    }
}

// The edit session's seek, however reached (forward, back, below zero), against a Demo run on a
// 60 fps frame clock up to the same frame.
TEST_F(ShippedShowGl, EditSessionSeeksLandWhereA60FpsFrameClockDoes)
{
    const auto frameClockState = [](uint64_t frame) {
        resetProcessState();
        std::string state;
        capturedMessages([&] {
            FrameClock clock(60);
            Demo demo(clock);
            demo.advanceTo(clock, frame);
            demo.update(); // the frame at `frame`, as drawing it would
            state = sceneState(demo);
        });
        return state;
    };
    const std::string at0 = frameClockState(0), at40 = frameClockState(2400), at47 = frameClockState(2823);
    EXPECT_GT(at40.size(), 1000u); // the show has built its scene by then
    capturedMessages([&] {
        EditSession session;
        const std::pair<double, std::string> seeks[] = {{40.0, at40},  {80.0, ""},  {40.0, at40},
                                                        {47.05, at47}, {-5.0, at0}, {47.05, at47}};
        for (const auto& [t, expected] : seeks) {
            session.seek(t);
            EXPECT_TRUE(expected.empty() || sceneState(session.demo()) == expected) << t;
        }
        EXPECT_DOUBLE_EQ(session.time(), 47.05);

#if !defined(__SANITIZE_ADDRESS__) // there freed memory waits in a quarantine
        session.seek(20.0);
        session.rebuild();
        const long first = residentKiB();
        for (int i = 0; i < 100; ++i) session.rebuild();
        const long last = residentKiB();
        std::fprintf(stderr, "resident after the first rebuild %ld KiB, after 100 more %ld KiB\n", first, last);
        EXPECT_LT(last, first + first / 10);
#endif
    });
}
