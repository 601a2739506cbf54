// Demoeffect base: motion arithmetic, transform, children and the registry, under a real context.
#include <gtest/gtest.h>
#include <cmath>
#include "effects/Demoeffect.h"
#include "effects/EffectRegistry.h"
#include "effects/Globals.h"
#include "support/GlFixture.h"

using DemoeffectGl = GlTest;

namespace {
void startMove(Demoeffect& e, float x, float y, float z, double start, double duration)
{
    Motion& m = e.motion;
    m.moveStart = start;
    m.moveEnd = start + duration;
    std::copy(m.point, m.point + 3, m.moveFrom);
    m.moveTo[0] = x; m.moveTo[1] = y; m.moveTo[2] = z;
    m.motionFlags |= MotionMoving;
}
} // namespace

TEST(Motion, SmoothstepPointsAndLandingOnTheTarget)
{
    // {start, duration, clock, expected x} of a move from 0 to 10; the zero-length move has the
    // clock exactly at its start, where 0/0 must not give NaN.
    const double cases[][4] = {{4, 4, 5, 1.5625}, {4, 4, 6, 5}, {4, 4, 8.5, 10}, {5, 0, 5, 10}, {5, 2, 8, 10}};
    for (const auto& c : cases) {
        Demoeffect e;
        startMove(e, 10, 0, 0, c[0], c[1]);
        g_musicTime = c[2];
        updateMotion(e.motion);
        EXPECT_FLOAT_EQ(e.motion.point[0], float(c[3])) << c[0] << " " << c[1] << " " << c[2];
        if (c[2] > c[0] + c[1]) {
            EXPECT_EQ(e.motion.motionFlags & MotionMoving, 0u); // landed
        }
    }
}

TEST(Motion, DirectionWrapAndVelocities)
{
    Demoeffect e;
    e.motion.direction[0] = 1.25f;
    e.motion.direction[1] = -0.25f;
    e.motion.direction[2] = 1.0f;
    g_frameDelta = 0.0;
    updateMotion(e.motion);
    EXPECT_FLOAT_EQ(e.motion.direction[0], 0.25f);
    EXPECT_FLOAT_EQ(e.motion.direction[1], -0.25f);
    EXPECT_FLOAT_EQ(e.motion.direction[2], 1.0f);

    e.motion.deltaPoint[1] = 2.0f;
    g_frameDelta = 0.5;
    updateMotion(e.motion);
    EXPECT_FLOAT_EQ(e.motion.point[1], 1.0f);
    // During a timed move the velocity has no visible effect; afterwards it acts again.
    startMove(e, 0, 0, 0, 0.0, 10.0);
    g_musicTime = 10.0;
    updateMotion(e.motion);
    EXPECT_FLOAT_EQ(e.motion.point[1], 0.0f);
    g_musicTime = 11.0;
    updateMotion(e.motion);
    updateMotion(e.motion);
    EXPECT_FLOAT_EQ(e.motion.point[1], 1.0f);
}

TEST(Children, RemoveFirstOccurrenceCloneSharesReaches)
{
    Demoeffect parent, a, b;
    parent.addChild(&a);
    parent.addChild(&b);
    parent.addChild(&a);
    parent.removeChild(&a);
    ASSERT_EQ(parent.children.size(), 2u);
    EXPECT_EQ(parent.children[0], &b);
    parent.removeChild(&parent); // not a child: nothing changes
    EXPECT_EQ(parent.children.size(), 2u);

    std::unique_ptr<Demoeffect> copy(parent.clone());
    EXPECT_EQ(copy->children, parent.children);
    copy->addChild(&parent);
    EXPECT_EQ(parent.children.size(), 2u);
    EXPECT_TRUE(copy->reaches(&a));
    EXPECT_FALSE(a.reaches(&parent));
}

TEST(LocalArgs, SplitsAtSemicolonsAndFillsMissingSlotsWithEmptyText)
{
    char text[] = "text;hello;;world";
    LocalArgs a = splitLocal(text);
    EXPECT_STREQ(a.word, "text");
    EXPECT_EQ(a.count, 3);
    EXPECT_STREQ(a.args[0], "hello");
    EXPECT_STREQ(a.args[1], "");
    EXPECT_STREQ(a.args[2], "world");
    char bare[] = "scale";
    LocalArgs b = splitLocal(bare);
    EXPECT_STREQ(b.word, "scale");
    EXPECT_EQ(b.count, 0);
    EXPECT_STREQ(b.args[0], "");
    std::string many = "w";
    for (int i = 0; i < 25; ++i) many += ";" + std::to_string(i);
    LocalArgs c = splitLocal(many.data());
    EXPECT_EQ(c.count, 18);
    EXPECT_STREQ(c.args[17], "17;18;19;20;21;22;23;24");
}

TEST(Registry, FindOrAddContainsAndFactoryWords)
{
    EffectRegistry::clear();
    EXPECT_FALSE(EffectRegistry::contains("x"));
    EXPECT_EQ(EffectRegistry::size(), 0u);
    EXPECT_EQ(EffectRegistry::findOrAdd("x"), nullptr);
    EXPECT_TRUE(EffectRegistry::contains("x"));
    EXPECT_EQ(createEffect("Camera"), nullptr);
    EXPECT_EQ(createEffect("nothing"), nullptr);
    std::unique_ptr<Demoeffect> plain(createEffect("demoeffect"));
    ASSERT_NE(plain, nullptr);
    EffectRegistry::findOrAdd("cam") = plain.get();
    EXPECT_NE(&EffectRegistry::findOrAdd("cam"), &EffectRegistry::findOrAdd("Cam"));
    EffectRegistry::clear();
}

TEST_F(DemoeffectGl, BaseDrawTransformsScalesTurnsAndStopsAtCycles)
{
    Demoeffect e;
    e.motion.point[0] = 1; e.motion.point[1] = 2; e.motion.point[2] = 3;
    e.motion.direction[0] = 1.0f; // yaw 180 degrees
    e.scale = 2.0;
    e.scaleY = 0.5;
    e.draw();
    float m[16];
    readModelView(m);
    const float expected[16] = {-2, 0, 0, 0, 0, 1, 0, 0, 0, 0, -2, 0, 1, 2, 3, 1};
    for (int n = 0; n < 16; ++n) EXPECT_NEAR(m[n], expected[n], 1e-6f) << n;

    Demoeffect a, b;
    a.addChild(&b);
    b.addChild(&a); // a loop built behind the interpreter's back must not recurse forever
    glLoadIdentity();
    a.draw();
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
