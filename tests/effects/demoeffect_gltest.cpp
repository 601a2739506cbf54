// Demoeffect base: motion arithmetic, the per-type argument split, and a child loop in the base
// draw as deep as the stack allows. Cloning and the child lists are tested through the interpreter.
#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>
#include "effects/Demoeffect.h"
#include "effects/Globals.h"
#include "support/CaptureMessages.h"
#include "support/GlFixture.h"

using DemoeffectGl = GlTest;

namespace {
void startMove(Motion& m, float x, double start, double duration)
{
    m.moveStart = start;
    m.moveEnd = start + duration;
    std::copy(m.point, m.point + 3, m.moveFrom);
    m.moveTo[0] = x;
    m.moveTo[1] = 0;
    m.moveTo[2] = 0;
    m.motionFlags |= MotionMoving;
}
} // namespace

TEST(Motion, SmoothstepMovesDirectionWrapAndVelocities)
{
    // {start, duration, clock, expected x} of a move from 0 to 10: t = 0.25 gives 15.625 %, a
    // zero-length move with the clock exactly at its start must not give 0/0 = NaN.
    const double cases[][4] = {{4, 4, 5, 1.5625}, {4, 4, 6, 5}, {4, 4, 8.5, 10}, {5, 0, 5, 10}, {5, 2, 8, 10}};
    for (const auto& c : cases) {
        Demoeffect e;
        startMove(e.motion, 10, c[0], c[1]);
        g_effects.musicTime = c[2];
        updateMotion(e.motion);
        EXPECT_FLOAT_EQ(e.motion.point[0], float(c[3])) << c[0] << " " << c[1] << " " << c[2];
        if (c[2] > c[0] + c[1]) {
            EXPECT_EQ(e.motion.motionFlags & MotionMoving, 0u) << "landed";
        }
    }

    Demoeffect e;
    Motion& m = e.motion;
    m.direction[0] = 1.25f;
    m.direction[1] = -0.25f;
    m.direction[2] = 1.0f;
    g_effects.frameDelta = 0.0;
    updateMotion(m);
    // Above 1 wraps; below 0 and exactly 1 are kept.
    EXPECT_EQ(std::vector<float>(m.direction, m.direction + 3), (std::vector<float>{0.25f, -0.25f, 1.0f}));

    m.deltaPoint[1] = 2.0f;
    g_effects.frameDelta = 0.5;
    updateMotion(m);
    EXPECT_FLOAT_EQ(m.point[1], 1.0f);
    // During a timed move the velocity has no visible effect; afterwards it acts again.
    startMove(m, 0, 0.0, 10.0);
    g_effects.musicTime = 10.0;
    updateMotion(m);
    EXPECT_FLOAT_EQ(m.point[1], 0.0f);
    g_effects.musicTime = 11.0;
    updateMotion(m);
    updateMotion(m);
    EXPECT_FLOAT_EQ(m.point[1], 1.0f);
}

TEST(LocalArgs, SplitsAtSemicolonsKeepsEmptyArgumentsAndFillsTheLastSlot)
{
    std::string text = "text;hello;;world";
    LocalArgs a = splitLocal(text.data());
    EXPECT_EQ(a.count, 3);
    EXPECT_STREQ(a.args[1], "");
    EXPECT_STREQ(a.args[2], "world");
    std::string many = "w"; // more arguments than slots: the last slot keeps the rest
    for (int i = 0; i < 25; ++i) many += ";" + std::to_string(i);
    a = splitLocal(many.data());
    EXPECT_EQ(a.count, 18);
    EXPECT_STREQ(a.args[17], "17;18;19;20;21;22;23;24");
}

// The transform and scales of the base draw show in the golden frames.
// A loop built behind the interpreter's back must not recurse forever: it is drawn as deep as the
// model-view stack allows with three levels to spare, which is reported once however often it is
// drawn, and the stack is back at one level after.
TEST_F(DemoeffectGl, NestingFollowsTheModelViewStackAndIsReportedOnce)
{
    struct Deepest : Demoeffect {
        GLint* deepest;
        void draw() override
        {
            GLint depth = 0;
            glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
            *deepest = std::max(*deepest, depth);
            Demoeffect::draw();
        }
    };
    GLint deepest = 0, levels = 0;
    Deepest a, b;
    a.deepest = b.deepest = &deepest;
    a.addChild(&b);
    b.addChild(&a);
    glGetIntegerv(GL_MAX_MODELVIEW_STACK_DEPTH, &levels);
    const std::string out = capturedMessages([&] {
        a.draw();
        a.draw();
    });
    EXPECT_EQ(deepest, levels - 3);
    EXPECT_EQ(out, "Scene tree deeper than " + std::to_string(levels - 4) +
                       " levels (a child list looping back?): deeper children are not drawn\n");
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
