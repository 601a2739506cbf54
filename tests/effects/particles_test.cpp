// Particles without GL: "init" and its refusals, the local words, the town, tube and spike layouts
// with their animation modes, burn's life cycle, shared ownership of the clones, and the shared
// random stream.
#include <gtest/gtest.h>
#include <cmath>
#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <vector>
#include "effects/EffectRegistry.h"
#include "effects/Globals.h"
#include "effects/ParticleFormation.h"
#include "effects/Particles.h"
#include "effects/Random.h"
#include "support/CaptureStdout.h"

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

// Runs each space-separated per-type command of `words`.
void local(Demoeffect& e, const std::string& words, float time = 0.0f)
{
    std::istringstream in(words);
    for (std::string w; in >> w;) e.local(time, w.data());
}

class ParticlesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EffectRegistry::clear();
        g_musicTime = g_frameDelta = 0.0;
        reseedRandom();
        EffectRegistry::findOrAdd("ball") = &ball;
    }
    void TearDown() override { EffectRegistry::clear(); }

    const float* point(int k) const { return ps.children.at(k)->motion.point; }

    Demoeffect ball;
    Particles ps;
};
} // namespace

TEST_F(ParticlesTest, FormationsPlaceTheChildren)
{
    enum Axis { X, Y, Z, Scale, Roll, Yaw };
    const double wonk = 2.5 * std::sin(0.4f) + 5.5; // tube row 1 under "wonk" at time 0, padx 3
    // Commands given at time `start` before "init;ball", the clock of the formation step, then one
    // child's coordinate and its expected value.
    const struct { const char* words; float start; double clock; int child; Axis axis; double value; } rows[] = {
        {"", 0, 0, 0, X, -9}, {"", 0, 0, 0, Z, -9}, {"", 0, 0, 99, X, 9}, {"", 0, 0, 99, Z, 9},  // town
        {"", 0, 0, 37, X, 5}, {"", 0, 0, 37, Z, -3}, {"", 0, 0, 37, Y, 0},
        {"anim;sine", 0, 1.3, 55, Y, 3.0 * std::sin(3.9)},  // column 5, row 5: the centre
        {"anim;dinky", 0, 1.3, 55, Scale, 0.5 * std::sin(3.9) + 0.5},
        {"anim;dinky", 0, 1.3, 55, Y, 0},
        {"type;tube padx;3", 0, 0, 0, X, 0}, {"type;tube padx;3", 0, 0, 0, Y, -3},  // tube column 0
        {"type;tube padx;3", 0, 0, 0, Z, -9}, {"type;tube padx;3", 0, 0, 95, Z, 9},
        {"type;tube padx;3", 0, 0, 5, X, 0}, {"type;tube padx;3", 0, 0, 5, Y, 3},     // column 5
        {"type;tube padx;3", 0, 0, 5, Roll, 0.5}, {"type;tube padx;3", 0, 0, 5, Yaw, 0.5},
        {"type;tube padx;3 anim;wonk", 0, 0, 10, Y, -wonk},  // the row spacing follows the radius
        {"type;tube padx;3 anim;wonk", 0, 0, 10, Z, wonk - 4.5 * wonk},
        {"type;tube anim;sinepulse", 12, 12, 0, Y, -2}, {"type;tube anim;sinepulse", 12, 12, 90, Y, -2},
        {"type;tube anim;sinepulse", 12, 12.375, 0, Y, -7},
        {"type;tube anim;sinepulse", 12, 12.375, 90, Y, -2},  // the last row starts 0.5 s later
        {"type;tube anim;sinepulse", 12, 12.75, 0, Y, -2},
        {"type;tube y;1 anim;sinepulse", 12, 12.375, 0, Y, -7},  // a single row: no division by zero
        {"type;spike", 0, 0, 9, X, 0},  // spike leaves the clones where the template is
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.words << " @" << r.clock << " child " << r.child << " axis " << r.axis);
        Particles p;
        local(p, r.words, r.start);
        local(p, "init;ball");
        g_musicTime = r.clock;
        p.formationStep();
        const Demoeffect& c = *p.children.at(r.child);
        const double got[] = {c.motion.point[0], c.motion.point[1], c.motion.point[2], c.scale,
                              c.motion.direction[2], c.motion.direction[0]};
        EXPECT_NEAR(got[r.axis], r.value, 1e-4);
    }
}

TEST_F(ParticlesTest, InitTwiceKeepsTheFirstChildrenAndNoneReappliesTheLayout)
{
    local(ps, "init;ball");
    ASSERT_EQ(ps.children.size(), 100u);
    EXPECT_NE(ps.children[0], &ball);
    EXPECT_NE(ps.children[0], ps.children[1]);
    Demoeffect* first = ps.children[0];
    local(ps, "init;ball");
    ASSERT_EQ(ps.children.size(), 100u);
    EXPECT_EQ(ps.children[0], first);
    ps.children[7]->motion.point[1] = 4.0f;
    ps.formationStep();
    EXPECT_FLOAT_EQ(point(7)[1], 0.0f);
}

TEST_F(ParticlesTest, InitRefusesMissingCyclicAndHugeTemplates)
{
    EffectRegistry::findOrAdd("self") = &ps;
    Demoeffect group;
    group.addChild(&ps);
    EffectRegistry::findOrAdd("group") = &group;
    const std::string out = capturedStdout([&] {
        local(ps, "init;nothing init init;self init;group x;100000 y;100000 init;ball");
    });
    EXPECT_EQ(out, "init: no effect named nothing\n"
                   "init: no effect named \n"
                   "init: self contains this particle system\n"
                   "init: group contains this particle system\n"
                   "init: 10000000000 particles are more than 1000000\n");
    EXPECT_TRUE(ps.children.empty());
    EXPECT_FALSE(ps.initialized);
    local(ps, "x;3 y;2 init;ball");
    EXPECT_EQ(ps.children.size(), 6u);
}

TEST_F(ParticlesTest, CountsChangedAfterInitOnlyChangeTheArithmetic)
{
    local(ps, "init;ball x;5 y;2"); // 10 cells: children 10.. keep their places
    ps.children[50]->motion.point[1] = 7.0f;
    ps.formationStep();
    EXPECT_FLOAT_EQ(point(9)[0], 4.0f); // column 4 of 5
    EXPECT_FLOAT_EQ(point(9)[2], 1.0f); // row 1 of 2
    EXPECT_FLOAT_EQ(point(50)[1], 7.0f);
    local(ps, "x;20 y;20"); // 400 cells, 100 children: the step stops at the last child
    ps.formationStep();
    EXPECT_FLOAT_EQ(point(99)[0], 19.0f);
    local(ps, "x;-3 y;-4"); // a positive product of negative counts must not index anything
    ps.children.push_back(nullptr);
    ps.formationStep();

    Particles empty;
    local(empty, "x;0 init;ball");
    EXPECT_TRUE(empty.initialized);
    EXPECT_TRUE(empty.children.empty());
}

TEST_F(ParticlesTest, LocalWordsAndTheirFailures)
{
    const std::string out = capturedStdout(
        [&] { local(ps, "padx;1.5 type;tube type;ring anim;wonk anim;jump spin;4 spin x;99999999999"); });
    EXPECT_EQ(out, "failed local: spin 4failed local: spin ");
    EXPECT_FLOAT_EQ(ps.padx, 1.5f);
    EXPECT_EQ(ps.type, FormationTube); // unknown types and modes keep the previous choice
    EXPECT_EQ(ps.anim, AnimWonk);
    EXPECT_EQ(ps.countx, INT32_MAX);
}

TEST_F(ParticlesTest, BurnRespawnsShrunkChildrenAndHandsOverTheTexture)
{
    ps.state = kStateTextureOnRespawn;
    ps.texture = 77;
    g_frameDelta = 0.25;
    local(ps, "anim;burn init;ball"); // fresh clones have scale 1: they shrink but do not respawn
    Demoeffect& c = *ps.children[3];
    EXPECT_LT(c.scale, 1.0);
    EXPECT_GE(c.scale, 0.75);
    EXPECT_EQ(c.state, 0);
    EXPECT_EQ(c.texture, 0u);

    c.scale = 0.005;
    c.motion.point[1] = 42.0f;
    ps.formationStep();
    EXPECT_EQ(c.state, 1);
    EXPECT_EQ(c.texture, 77u);
    EXPECT_FLOAT_EQ(c.motion.point[0], -3.0f);
    EXPECT_FLOAT_EQ(c.motion.point[1], 0.0f);
    EXPECT_GE(c.motion.deltaPoint[0], -1.0f);
    EXPECT_LE(c.motion.deltaPoint[0], 1.0f);
    EXPECT_GE(c.motion.deltaPoint[1], 0.0f);
    EXPECT_GT(c.scale, 0.74);
    g_frameDelta = 0.0;
    c.scale = 1.0;
    ps.formationStep(); // full size again: the life flag drops
    EXPECT_EQ(c.state, 0);

    ps.state = 0;
    ps.texture = 5;
    c.scale = 0.0;
    ps.formationStep();
    EXPECT_EQ(c.state, 1);
    EXPECT_EQ(c.texture, 77u); // without bit 32 the texture is not handed over
}

TEST_F(ParticlesTest, ClonesShareTheChildrenWhichAreDestroyedOnce)
{
    Counted::alive = 0;
    {
        Counted tmpl;
        EffectRegistry::findOrAdd("counted") = &tmpl;
        Demoeffect stranger;
        auto* owner = new Particles;
        owner->addChild(&stranger); // appended by the script: not the system's to destroy
        local(*owner, "init;counted");
        EXPECT_EQ(Counted::alive, 101);
        Demoeffect* copy = owner->clone();
        EXPECT_EQ(copy->children, owner->children);
        delete owner;
        EXPECT_EQ(Counted::alive, 101);
        delete copy;
        EXPECT_EQ(Counted::alive, 1);
    }
    EXPECT_EQ(Counted::alive, 0);
}

TEST(RandomStream, IsTheSeededMersenneTwisterAndRestarts)
{
    reseedRandom();
    std::mt19937 engine(5489);
    std::uniform_int_distribution<int> percent(0, 100);
    std::vector<int> first;
    for (int n = 0; n < 1000; ++n) first.push_back(randomPercent());
    for (int n = 0; n < 1000; ++n) ASSERT_EQ(first[n], percent(engine)) << n;
    reseedRandom();
    for (int n = 0; n < 1000; ++n) ASSERT_EQ(randomPercent(), first[n]) << n;
}
