// Particles without GL: "init", the local words, the town and tube layouts, the animation modes,
// burn's life cycle, shared ownership of the clones, and the shared random stream.
#include <gtest/gtest.h>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>
#include "effects/EffectRegistry.h"
#include "effects/Globals.h"
#include "effects/Particles.h"
#include "effects/Random.h"

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

void local(Demoeffect& e, const char* text, float time = 0.0f)
{
    std::vector<char> buffer(text, text + std::strlen(text) + 1);
    e.local(time, buffer.data());
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

TEST_F(ParticlesTest, InitLaysOutTheTownGridOnce)
{
    local(ps, "init;ball");
    ASSERT_EQ(ps.children.size(), 100u);
    EXPECT_TRUE(ps.initialized);
    for (int k = 0; k < 100; ++k) {
        EXPECT_FLOAT_EQ(point(k)[0], -9.0f + 2.0f * (k % 10)) << k;
        EXPECT_FLOAT_EQ(point(k)[1], 0.0f) << k;
        EXPECT_FLOAT_EQ(point(k)[2], -9.0f + 2.0f * (k / 10)) << k;
    }
    EXPECT_NE(ps.children[0], &ball);
    EXPECT_NE(ps.children[0], ps.children[1]);
    local(ps, "init;ball");
    EXPECT_EQ(ps.children.size(), 100u);

    // With "none" the layout is re-applied every step.
    ps.children[7]->motion.point[1] = 4.0f;
    ps.formationStep();
    EXPECT_FLOAT_EQ(point(7)[1], 0.0f);
}

TEST_F(ParticlesTest, InitRefusesMissingCyclicAndHugeTemplates)
{
    testing::internal::CaptureStdout();
    local(ps, "init;nothing");
    local(ps, "init");
    EffectRegistry::findOrAdd("self") = &ps;
    local(ps, "init;self");
    Demoeffect group;
    group.addChild(&ps);
    EffectRegistry::findOrAdd("group") = &group;
    local(ps, "init;group");
    local(ps, "x;100000");
    local(ps, "y;100000");
    local(ps, "init;ball");
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "init: no effect named nothing\n"
                   "init: no effect named \n"
                   "init: self contains this particle system\n"
                   "init: group contains this particle system\n"
                   "init: 10000000000 particles are more than 1000000\n");
    EXPECT_TRUE(ps.children.empty());
    EXPECT_FALSE(ps.initialized);
    EXPECT_TRUE(EffectRegistry::contains("nothing")); // the look-up leaves an empty binding

    local(ps, "x;3");
    local(ps, "y;2");
    local(ps, "init;ball");
    EXPECT_EQ(ps.children.size(), 6u);
}

TEST_F(ParticlesTest, EmptyGridInitialisesWithoutChildren)
{
    local(ps, "x;0");
    local(ps, "init;ball");
    EXPECT_TRUE(ps.initialized);
    EXPECT_TRUE(ps.children.empty());
    local(ps, "x;-3");
    local(ps, "y;-4"); // a positive product of negative counts must not misbehave
    ps.children.push_back(nullptr);
    ps.formationStep();
}

TEST_F(ParticlesTest, CountsChangedAfterInitOnlyChangeTheArithmetic)
{
    local(ps, "init;ball");
    local(ps, "x;5");
    local(ps, "y;2"); // 10 cells: children 10.. keep their places
    ps.children[50]->motion.point[1] = 7.0f;
    ps.formationStep();
    EXPECT_EQ(ps.children.size(), 100u);
    EXPECT_FLOAT_EQ(point(9)[0], 4.0f);   // column 4 of 5: 4 * 2 - 4
    EXPECT_FLOAT_EQ(point(9)[2], 1.0f);   // row 1 of 2
    EXPECT_FLOAT_EQ(point(50)[1], 7.0f);

    local(ps, "x;20");
    local(ps, "y;20"); // 400 cells, 100 children: the step stops at the last child
    ps.formationStep();
    EXPECT_FLOAT_EQ(point(99)[0], 19.0f * 2.0f - 19.0f);
    EXPECT_FLOAT_EQ(point(99)[2], 4.0f * 2.0f - 19.0f);
}

TEST_F(ParticlesTest, LocalWordsAndTheirFailures)
{
    testing::internal::CaptureStdout();
    for (const char* word : {"padx;1.5", "pady;3", "type;tube", "type;ring", "anim;wonk", "anim;jump", "spin;4",
                             "spin", "x;99999999999"})
        local(ps, word); // unknown types and modes keep the previous choice
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "failed local: spin 4failed local: spin ");
    EXPECT_FLOAT_EQ(ps.padx, 1.5f);
    EXPECT_FLOAT_EQ(ps.pady, 3.0f);
    EXPECT_EQ(ps.type, 1);
    EXPECT_EQ(ps.anim, 8);
    EXPECT_EQ(ps.countx, INT32_MAX);
    const char* words[] = {"none", "sine", "sinepulse", "wonk", "dinky", "burn"};
    const int values[] = {1, 2, 4, 8, 16, 64};
    for (int n = 0; n < 6; ++n) {
        local(ps, (std::string("anim;") + words[n]).c_str(), n + 0.5f);
        EXPECT_EQ(ps.anim, values[n]);
    }
    EXPECT_DOUBLE_EQ(ps.startTime, 2.5); // set by "sinepulse" only
    local(ps, "type;spike");
    EXPECT_EQ(ps.type, 2);
}

TEST_F(ParticlesTest, TownSineAndDinky)
{
    local(ps, "anim;sine");
    g_musicTime = 1.3;
    local(ps, "init;ball");
    EXPECT_NEAR(point(55)[1], 3.0 * std::sin(3.0 * 1.3), 1e-5); // column 5, row 5: d = 0
    EXPECT_NEAR(point(58)[1], 3.0 * std::sin(0.5 * 3.0 + 3.0 * 1.3), 1e-5);
    EXPECT_FLOAT_EQ(point(55)[0], 1.0f);

    local(ps, "anim;dinky");
    ps.formationStep();
    EXPECT_FLOAT_EQ(point(55)[1], 0.0f);
    EXPECT_NEAR(ps.children[55]->scale, 0.5 * std::sin(3.0 * 1.3) + 0.5, 1e-12);
}

TEST_F(ParticlesTest, TubeRingsColumnsAndRoll)
{
    local(ps, "type;tube");
    local(ps, "padx;3");
    local(ps, "init;ball");
    EXPECT_NEAR(point(0)[0], 0.0f, 1e-6f);
    EXPECT_FLOAT_EQ(point(0)[1], -3.0f);
    EXPECT_FLOAT_EQ(point(0)[2], -9.0f);
    EXPECT_NEAR(point(5)[0], 0.0f, 1e-6f);
    EXPECT_FLOAT_EQ(point(5)[1], 3.0f);
    EXPECT_FLOAT_EQ(ps.children[5]->motion.direction[2], 0.5f);
    EXPECT_FLOAT_EQ(ps.children[5]->motion.direction[0], 0.5f); // yaw and pitch are kept
    EXPECT_FLOAT_EQ(point(95)[2], 9.0f);

    local(ps, "anim;wonk");
    g_musicTime = 0.0; // R = 2.5 sin(0.4 j) + 3 + 2.5, and the row spacing equals R
    ps.formationStep();
    const double r1 = 2.5 * std::sin(0.4f) + 5.5;
    EXPECT_NEAR(point(10)[1], -r1, 1e-5);
    EXPECT_NEAR(point(10)[2], r1 - 4.5 * r1, 1e-4);
}

TEST_F(ParticlesTest, TubeSinePulseRunsAlongTheRows)
{
    local(ps, "type;tube");
    local(ps, "init;ball");
    const float t0 = 12.0f;
    local(ps, "anim;sinepulse", t0);
    g_musicTime = t0;
    ps.formationStep();
    for (int row = 0; row < 10; ++row) EXPECT_NEAR(point(row * 10)[1], -2.0f, 1e-5f) << row;
    g_musicTime = t0 + 0.375;
    ps.formationStep();
    EXPECT_NEAR(point(0)[1], -7.0f, 1e-5f);
    EXPECT_NEAR(point(90)[1], -2.0f, 1e-5f); // the last row starts 0.5 s later
    g_musicTime = t0 + 0.75;
    ps.formationStep();
    EXPECT_NEAR(point(0)[1], -2.0f, 1e-5f);

    local(ps, "y;1"); // a single row must not divide by zero
    ps.formationStep();
    EXPECT_TRUE(std::isfinite(point(0)[1]));
}

TEST_F(ParticlesTest, BurnRespawnsShrunkChildrenAndHandsOverTheTexture)
{
    local(ps, "anim;burn");
    ps.state = 32;
    ps.texture = 77;
    g_frameDelta = 0.25;
    local(ps, "init;ball"); // fresh clones have scale 1: they shrink but do not respawn
    Demoeffect& c = *ps.children[3];
    EXPECT_LT(c.scale, 1.0);
    EXPECT_GE(c.scale, 0.75);
    EXPECT_EQ(c.state, 0);
    EXPECT_EQ(c.texture, 0u);
    EXPECT_FLOAT_EQ(c.motion.deltaPoint[0], 0.0f);

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

TEST_F(ParticlesTest, SpikeLeavesChildrenWhereTheyAre)
{
    local(ps, "type;spike");
    ball.motion.point[0] = 6.0f;
    local(ps, "init;ball");
    for (Demoeffect* c : ps.children) EXPECT_FLOAT_EQ(c->motion.point[0], 6.0f);
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
        auto* twin = dynamic_cast<Particles*>(copy);
        ASSERT_NE(twin, nullptr);
        EXPECT_EQ(twin->children, owner->children);
        EXPECT_TRUE(twin->initialized);
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
    for (int n = 0; n < 1000; ++n) {
        first.push_back(randomPercent());
        EXPECT_EQ(first.back(), percent(engine));
    }
    reseedRandom();
    for (int n = 0; n < 1000; ++n) ASSERT_EQ(randomPercent(), first[n]) << n;
}
