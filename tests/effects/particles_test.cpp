// Particles without GL: "init" and its refusals, the local words, the formations and their
// animation modes, burn's life cycle, shared ownership of the clones, and the random stream.
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>
#include "demo/ProcessState.h"
#include "effects/EffectRegistry.h"
#include "effects/Globals.h"
#include "effects/ParticleFormation.h"
#include "effects/Particles.h"
#include "effects/Random.h"
#include "RunLocal.h"
#include "support/CaptureMessages.h"

namespace {
// A template whose copies count how many of them are alive.
struct Counted : Demoeffect {
    static int alive;
    Counted() { ++alive; }
    Counted(const Counted& o) : Demoeffect(o) { ++alive; }
    ~Counted() override { --alive; }
    Demoeffect* clone() override { return new Counted(*this); }
};
int Counted::alive = 0;

class ParticlesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetProcessState();
        EffectRegistry::findOrAdd("ball") = &ball;
    }
    void TearDown() override { EffectRegistry::clear(); }

    Demoeffect ball;
    Particles ps;
};
} // namespace

TEST_F(ParticlesTest, FormationsPlaceTheChildren)
{
    enum Axis { X, Y, Z, Scale, Roll };
    const char* tube = "type;tube padx;3";
    const char* pulse = "type;tube anim;sinepulse";
    // Commands given at time `start` before "init;ball" and after it, the clock of the formation
    // step, then one child's coordinate and its expected value.
    const struct {
        const char *before, *after;
        double start, clock;
        int child, axis;
        double value;
    } rows[] = {
        {"", "", 0, 0, 0, X, -9},
        {"", "", 0, 0, 37, Z, -3},
        {"", "init;ball", 0, 0, 37, X, 5}, // a second "init": no change
        {"", "x;5 y;2", 0, 0, 50, X, -9},  // 10 cells after "init": the rest stay
        {"", "x;20 y;20", 0, 0, 99, X, 19},
        {"", "x;-3 y;-4", 0, 0, 99, X, 9}, // 400 cells; negative counts
        {tube, "", 0, 0, 0, Z, -9},
        {tube, "", 0, 0, 5, Roll, 0.5},
        {tube, "", 0, 0, 7, Y, -3 * std::cos(1.4 * M_PI)},
        {pulse, "", 12, 12.375, 90, Y, -2},
        {pulse, "y;1", 12, 12.375, 0, Y, -7}, // later last row; one row
        {"type;spike", "", 0, 0, 9, X, 0},    // spike leaves the clones where the template is
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.before << "|" << r.after << " child " << r.child << " axis " << r.axis);
        Particles p;
        runLocal(p, r.before, static_cast<float>(r.start));
        runLocal(p, "init;ball");
        runLocal(p, r.after);
        g_effects.musicTime = r.clock;
        p.formationStep();
        ASSERT_EQ(p.children.size(), 100u);
        const Demoeffect& c = *p.children[r.child];
        const double got[] = {c.motion.point[0], c.motion.point[1], c.motion.point[2], c.scale, c.motion.direction[2]};
        EXPECT_NEAR(got[r.axis], r.value, 1e-4);
    }
}

TEST_F(ParticlesTest, LocalWordsRefuseMissingCyclicAndHugeTemplatesAndUnknownNames)
{
    EffectRegistry::findOrAdd("self") = &ps;
    Demoeffect group;
    group.addChild(&ps);
    EffectRegistry::findOrAdd("group") = &group;
    const std::string out = capturedMessages([&] {
        runLocal(ps, "init;nothing init;self init;group x;100000 y;100000 init;ball");
        runLocal(ps, "type;tube type;ring anim;wonk anim;jump spin;4");
    });
    EXPECT_EQ(out, "init: no effect named nothing\n"
                   "init: self contains this particle system\n"
                   "init: group contains this particle system\n"
                   "init: 10000000000 particles are more than 1000000\n"
                   "failed local: spin 4");
    EXPECT_TRUE(ps.children.empty());
    EXPECT_FALSE(ps.initialized);
    EXPECT_EQ(ps.type, FormationTube); // unknown types and modes keep the previous choice
    EXPECT_EQ(ps.anim, AnimWonk);
    runLocal(ps, "x;0 init;ball"); // an empty grid initialises without children
    EXPECT_TRUE(ps.initialized);
    EXPECT_TRUE(ps.children.empty());
}

TEST_F(ParticlesTest, BurnRespawnsShrunkChildrenAndHandsOverTheTexture)
{
    ps.texture = 77;
    runLocal(ps, "anim;burn init;ball");
    Demoeffect& c = *ps.children[3];
    for (int32_t bits : {0, kStateTextureOnRespawn}) { // the texture goes over only with bit 32
        ps.state = bits;
        c.scale = 0.005; // shrunk away: back on its grid place at full size, and alive
        c.motion.point[1] = 42.0f;
        g_effects.frameDelta = 0.25;
        ps.formationStep();
        EXPECT_EQ(c.state, 1);
        EXPECT_EQ(c.texture, bits ? 77u : 0u);
        EXPECT_FLOAT_EQ(c.motion.point[1], 0.0f);
        EXPECT_GT(c.scale, 0.74);
        g_effects.frameDelta = 0.0;
        c.scale = 1.0;
        ps.formationStep(); // full size again: the life flag drops
        EXPECT_EQ(c.state, 0);
    }
}

TEST_F(ParticlesTest, ClonesShareTheChildrenWhichAreDestroyedOnce)
{
    Counted tmpl;
    EffectRegistry::findOrAdd("counted") = &tmpl;
    Demoeffect stranger;
    auto* owner = new Particles;
    owner->addChild(&stranger); // appended by the script: not the system's to destroy
    runLocal(*owner, "init;counted");
    EXPECT_EQ(Counted::alive, 101);
    Demoeffect* copy = owner->clone();
    EXPECT_EQ(copy->children, owner->children);
    EXPECT_TRUE(static_cast<Particles*>(copy)->initialized);
    delete owner;
    EXPECT_EQ(Counted::alive, 101);
    delete copy;
    EXPECT_EQ(Counted::alive, 1); // only the template is left
}

TEST(RandomStream, CoversZeroToHundredAndRestarts)
{
    reseedRandom();
    std::vector<int> first(1000);
    for (int& n : first) n = randomPercent();
    const auto [low, high] = std::minmax_element(first.begin(), first.end());
    EXPECT_EQ(std::make_pair(*low, *high), std::make_pair(0, 100));
    reseedRandom();
    for (int n : first) ASSERT_EQ(randomPercent(), n);
}
