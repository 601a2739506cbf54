// The Demo with the real command interpreter: an effect appended to the scene by an event is drawn
// in that same frame. (Start-up output between the listing lines is checked by e2e run_to_end.)
#include <gtest/gtest.h>
#include <string>
#include "demo/Demo.h"
#include "demo/DemoTestSupport.h"
#include "effects/EffectRegistry.h"
#include "support/GlFixture.h"
#include "support/TempDir.h"

using DemoScriptGl = GlTest;

TEST_F(DemoScriptGl, EffectAppendedByAnEventIsDrawnInThatFrame)
{
    ScopedWorkDir dir;
    dir.write("data/vessikscript.txt", "-1 SCENE append first\n0.5 SCENE append late\n");
    ManualClock clock;
    RecordingEffect first, late;
    EffectRegistry::findOrAdd("first") = &first;
    EffectRegistry::findOrAdd("late") = &late;
    testing::internal::CaptureStdout();
    Demo demo(clock);
    const size_t startupSceneSize = demo.scene.size();
    clock.ms = demo.startMs + 400;
    demo.renderFrame();
    const int lateDrawsBefore = late.draws;
    clock.ms = demo.startMs + 600;
    demo.renderFrame();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(startupSceneSize, 1u);
    EXPECT_EQ(lateDrawsBefore, 0);
    EXPECT_EQ(first.draws, 2);
    EXPECT_EQ(late.draws, 1);
}
