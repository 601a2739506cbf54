// Advancing without drawing: the shipped show advanced to several times on a frame clock ends in the
// same state (every reachable effect's motion, scales, state bits, particle settings and text) as the
// same frames drawn one by one.
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>
#include "demo/Demo.h"
#include "demo/ProcessState.h"
#include "effects/Particles.h"
#include "effects/Text.h"
#include "support/CaptureMessages.h"
#include "support/GlFixture.h"

namespace {
constexpr uint32_t kFps = 20;
const double kTimes[] = {12.0, 50.0, 95.0, 130.0};

void describe(const Demoeffect* e, std::set<const Demoeffect*>& seen, std::string& out)
{
    if (!e || !seen.insert(e).second) return;
    char line[96];
    const Motion& m = e->motion;
    for (float v : {m.point[0], m.point[1], m.point[2], m.direction[0], m.direction[1], m.direction[2]}) {
        std::snprintf(line, sizeof line, "%a ", static_cast<double>(v));
        out += line;
    }
    std::snprintf(line, sizeof line, "%u %d %a %a|", m.motionFlags, e->state, e->scale, e->startTime);
    out += line;
    if (auto* t = dynamic_cast<const Text*>(e)) out += t->text + "|";
    if (auto* p = dynamic_cast<const Particles*>(e)) {
        std::snprintf(line, sizeof line, "%d %d %d %d %d|", p->countx, p->county, p->type, p->anim, p->initialized);
        out += line;
    }
    for (const Demoeffect* c : e->children) describe(c, seen, out);
    out += "\n";
}

std::string snapshot(const Demo& demo)
{
    std::set<const Demoeffect*> seen;
    std::string out;
    for (const Demoeffect* e : demo.scene) describe(e, seen, out);
    return out;
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
            states.push_back(snapshot(demo));
        }
    });
    return states;
}
} // namespace

using AdvanceGl = GlTest;

TEST_F(AdvanceGl, AdvancingTheShippedShowEndsInTheStateOfDrawingIt)
{
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(ZEMBLAR_SOURCE_DIR);
    glEnable(GL_SCISSOR_TEST); // the drawn run only has to run its draws, not fill the window
    glScissor(0, 0, 1, 1);
    const std::vector<std::string> drawn = playShow(true);
    const std::vector<std::string> advanced = playShow(false);
    glDisable(GL_SCISSOR_TEST);
    std::filesystem::current_path(previous);
    ASSERT_EQ(drawn.size(), advanced.size());
    for (size_t i = 0; i < drawn.size(); ++i) {
        SCOPED_TRACE(kTimes[i]);
        EXPECT_GT(drawn[i].size(), 1000u); // the show has built its scene by then
        const auto diff = std::mismatch(drawn[i].begin(), drawn[i].end(), advanced[i].begin(), advanced[i].end());
        EXPECT_TRUE(diff.first == drawn[i].end() && diff.second == advanced[i].end())
            << "first difference at byte " << (diff.first - drawn[i].begin()) << ": "
            << std::string(diff.first, drawn[i].end()).substr(0, 200) << " vs "
            << std::string(diff.second, advanced[i].end()).substr(0, 200);
    }
}
