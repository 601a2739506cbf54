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

TEST(Motion, SmoothstepMovesDirectionWrapAndVelocities)
{
    // {start, duration, clock, expected x} of a move from 0 to 10: t = 0.25 gives 15.625 %, a
    // zero-length move with the clock exactly at its start must not give 0/0 = NaN.
    const double cases[][4] = {{4, 4, 5, 1.5625}, {4, 4, 6, 5}, {4, 4, 8.5, 10}, {5, 0, 5, 10}, {5, 2, 8, 10}};
    for (const auto& c : cases) {
        Motion m{{}, {}, {}, {}, {}, {10, 0, 0}, {}, {}, c[0], c[0] + c[1], 0, 0, MotionMoving};
        g_effects.musicTime = c[2];
        updateMotion(m);
        EXPECT_FLOAT_EQ(m.point[0], float(c[3])) << c[0] << " " << c[1] << " " << c[2];
        EXPECT_EQ(m.motionFlags, c[2] > c[0] + c[1] ? 0u : unsigned(MotionMoving)) << "lands only after its end";
    }

    // A velocity of 2 in y; a direction above 1 wraps, below 0 and exactly 1 are kept.
    Motion m{{}, {0, 2, 0}, {}, {1.25f, -0.25f, 1.0f}, {}, {}, {}, {}, 0, 0, 0, 0, 0};
    g_effects.frameDelta = 0.5;
    updateMotion(m);
    EXPECT_EQ(std::vector<float>(m.direction, m.direction + 3), (std::vector<float>{0.25f, -0.25f, 1.0f}));
    EXPECT_FLOAT_EQ(m.point[1], 1.0f);
    // During a timed move (to 0, ending at 10) the velocity has no visible effect; afterwards it acts again.
    m.moveEnd = 10.0;
    m.motionFlags = MotionMoving;
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
