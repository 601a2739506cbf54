// The Demo under a real GL context with a hand-set clock: start-up listing, clocks (wall clock,
// wrap-around, the music state rule), the "fps" text, "skydome" following "cam", due events in
// file order strictly after their time, drawing from identity, and the offline frame clock.
#include <gtest/gtest.h>
#include <cmath>
#include <memory>
#include <string>
#include "demo/Demo.h"
#include "demo/DemoTestSupport.h"
#include "effects/EffectRegistry.h"
#include "effects/Globals.h"
#include "support/CaptureStdout.h"
#include "support/GlFixture.h"
#include "support/TempDir.h"

namespace {
class DemoGl : public GlTest {
protected:
    void writeScript(const std::string& text) { dir.write("data/vessikscript.txt", text); }
    // Runs one frame at the given wall-clock milliseconds after the Demo's start.
    std::string frameAt(Demo& demo, uint32_t msSinceStart)
    {
        clock.ms = demo.startMs + msSinceStart;
        return capturedStdout([&] { demo.renderFrame(); });
    }

    // A Demo on the manual clock, its start-up output dropped.
    std::unique_ptr<Demo> quietDemo()
    {
        std::unique_ptr<Demo> demo;
        capturedStdout([&] { demo.reset(new Demo(clock)); });
        return demo;
    }

    ScopedWorkDir dir;
    ManualClock clock;
};

bool isIdentity(const float m[16])
{
    for (int i = 0; i < 16; ++i)
        if (m[i] != ((i % 5 == 0) ? 1.0f : 0.0f)) return false;
    return true;
}
} // namespace

TEST_F(DemoGl, ListsEveryEventAndRunsOnlyStartupEventsBeforeTheMusic)
{
    writeScript("# comment\n-1 a new demoeffect\n2.5 a scale 2\r\n-0.5 b new demoeffect\n");
    clock.streamToGive = 7;
    clock.ms = 1234;
    testing::internal::CaptureStdout();
    Demo demo(clock);
    const std::string out = testing::internal::GetCapturedStdout();

    EXPECT_EQ(out, "-1 a new demoeffect -1.000000\n2.5 a scale 2 2.500000\n-0.5 b new demoeffect -0.500000\n");
    ASSERT_EQ(demo.events.size(), 3u);
    EXPECT_TRUE(demo.events[0].done);
    EXPECT_FALSE(demo.events[1].done);
    EXPECT_TRUE(demo.events[2].done);
    EXPECT_EQ(clock.starts, 1);
    EXPECT_EQ(demo.stream, 7u);
    EXPECT_EQ(demo.startMs, 1234u);
    EXPECT_EQ(demo.frameCount, 0u);
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_FLOAT_EQ(clear[0], 0.1f);
    EXPECT_FLOAT_EQ(clear[3], 0.0f);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
}

TEST_F(DemoGl, MissingScriptGivesAnEmptyTimelineAndTheDemoRuns)
{
    testing::internal::CaptureStdout();
    Demo demo(clock);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Couldn't open: data/vessikscript.txt\n");
    EXPECT_TRUE(demo.events.empty());
    EXPECT_TRUE(demo.renderFrame());
    EXPECT_EQ(demo.frameCount, 1u);
}

TEST_F(DemoGl, WallClockIsAnUnsignedDifferenceThatSurvivesTheWrap)
{
    clock.ms = 0xFFFFFF00u;
    auto owned = quietDemo();
    Demo& demo = *owned;
    frameAt(demo, 500);
    EXPECT_DOUBLE_EQ(g_wallTime, 0.5);
    EXPECT_DOUBLE_EQ(g_frameDelta, 0.5);
    clock.ms = 0x00000100u; // the 32-bit clock wrapped: 0x200 ms after the start
    demo.renderFrame();
    EXPECT_DOUBLE_EQ(g_wallTime, 0.512);
    EXPECT_NEAR(g_frameDelta, 0.012, 1e-12);
    EXPECT_EQ(clock.services, 2);
}

TEST_F(DemoGl, MusicClockFollowsThePositionOnlyWhilePlayingOrStalled)
{
    auto owned = quietDemo();
    Demo& demo = *owned;
    clock.position = 3.25;
    const struct { int state; double expected; } cases[] = {{1, 3.25}, {2, 3.25}, {0, 1.0}, {3, 1.0}};
    for (const auto& c : cases) {
        clock.state = c.state;
        frameAt(demo, 1000);
        EXPECT_DOUBLE_EQ(g_musicTime, c.expected) << "state " << c.state;
    }
}

TEST_F(DemoGl, EventsRunStrictlyAfterTheirTimeInFileOrderAndOnce)
{
    writeScript("5.0 late\n2.0 early\n1.0 first\n"); // no command word: the lines do nothing
    auto owned = quietDemo();
    Demo& demo = *owned;
    clock.state = 1;
    clock.position = 1.0; // equal to the first event's time: not due yet
    EXPECT_EQ(frameAt(demo, 10), "");
    clock.position = 1.0001;
    EXPECT_EQ(frameAt(demo, 20), "Doing: 1.0 first\n");
    clock.position = 6.0; // both others became due in one frame: file order, not time order
    EXPECT_EQ(frameAt(demo, 30), "Doing: 5.0 late\nDoing: 2.0 early\n");
    EXPECT_EQ(frameAt(demo, 40), "");
    for (const ScriptEvent& e : demo.events) EXPECT_TRUE(e.done);
}

TEST_F(DemoGl, WithoutMusicEventsFollowTheWallClock)
{
    writeScript("0.25 one\n9.5 two\n");
    auto owned = quietDemo();
    Demo& demo = *owned;
    clock.state = 0; // no stream, or the track has ended
    clock.position = 100.0;
    EXPECT_EQ(frameAt(demo, 250), "");
    EXPECT_EQ(frameAt(demo, 251), "Doing: 0.25 one\n");
    EXPECT_EQ(frameAt(demo, 9501), "Doing: 9.5 two\n");
}

TEST_F(DemoGl, FpsInstanceReceivesTheAverageFrameRateText)
{
    RecordingEffect fps;
    EffectRegistry::findOrAdd("fps") = &fps;
    auto owned = quietDemo();
    Demo& demo = *owned;
    clock.state = 1;
    clock.position = 0.75;
    frameAt(demo, 500);
    EXPECT_STREQ(fps.lastLocal, "text;0.000000 fps"); // no frame drawn before the first
    EXPECT_FLOAT_EQ(fps.lastLocalTime, 0.75f);
    frameAt(demo, 1000);
    frameAt(demo, 1500);
    EXPECT_STREQ(fps.lastLocal, "text;1.333333 fps"); // 2 frames in 1.5 s
    EXPECT_EQ(fps.locals, 3);
}

TEST_F(DemoGl, FpsTextOnTheVeryFirstMillisecondIsNotANumber)
{
    RecordingEffect fps;
    EffectRegistry::findOrAdd("fps") = &fps;
    auto owned = quietDemo();
    Demo& demo = *owned;
    frameAt(demo, 0);
    EXPECT_NE(std::string(fps.lastLocal).find("nan fps"), std::string::npos) << fps.lastLocal;
}

TEST_F(DemoGl, SkydomeTakesTheCameraPositionOnly)
{
    RecordingEffect cam, sky;
    cam.motion.point[0] = 1; cam.motion.point[1] = 2; cam.motion.point[2] = 3;
    cam.motion.direction[0] = 0.9f;
    EffectRegistry::findOrAdd("cam") = &cam;
    auto owned = quietDemo();
    Demo& demo = *owned;
    frameAt(demo, 10); // "skydome" absent: nothing copied, nothing added
    EXPECT_FALSE(EffectRegistry::contains("skydome"));
    EXPECT_FALSE(EffectRegistry::contains("fps"));
    EffectRegistry::findOrAdd("skydome") = &sky;
    frameAt(demo, 20);
    EXPECT_EQ(sky.motion.point[0], 1.0f);
    EXPECT_EQ(sky.motion.point[1], 2.0f);
    EXPECT_EQ(sky.motion.point[2], 3.0f);
    EXPECT_EQ(sky.motion.direction[0], 0.5f);
}

TEST_F(DemoGl, SkydomeWithoutCameraStaysPut)
{
    RecordingEffect sky;
    sky.motion.point[0] = 4;
    EffectRegistry::findOrAdd("skydome") = &sky;
    auto owned = quietDemo();
    Demo& demo = *owned;
    frameAt(demo, 10);
    EXPECT_EQ(sky.motion.point[0], 4.0f);
    EXPECT_FALSE(EffectRegistry::contains("cam"));
}

TEST_F(DemoGl, EveryTopLevelEffectStartsFromIdentityAndTheProgramIsReleased)
{
    RecordingEffect first, second;
    first.motion.point[2] = -5.0f; // leaves a translation behind on the matrix
    first.programToBind = 12345;
    auto owned = quietDemo();
    Demo& demo = *owned;
    demo.scene = {&first, nullptr, &second};
    frameAt(demo, 10);
    EXPECT_EQ(first.draws, 1);
    EXPECT_EQ(second.draws, 1);
    EXPECT_TRUE(isIdentity(first.matrixAtDraw));
    EXPECT_TRUE(isIdentity(second.matrixAtDraw));
    EXPECT_EQ(g_boundProgram, 0u);
    EXPECT_EQ(demo.frameCount, 1u);
}

TEST_F(DemoGl, DestructionStopsTheMusicAndANewDemoRestartsTheClocks)
{
    {
        testing::internal::CaptureStdout();
        Demo demo(clock);
        testing::internal::GetCapturedStdout();
        frameAt(demo, 4000);
        EXPECT_DOUBLE_EQ(g_wallTime, 4.0);
    }
    EXPECT_EQ(clock.stops, 1);
    Demo again(clock);
    EXPECT_EQ(g_wallTime, 0.0);
    frameAt(again, 20);
    EXPECT_DOUBLE_EQ(g_frameDelta, 0.02);
}

TEST_F(DemoGl, FrameClockDrivesTheSameFrameDriverWithoutMusic)
{
    writeScript("0.5 half\n");
    FrameClock frames(50); // 20 ms per frame
    testing::internal::CaptureStdout();
    Demo demo(frames);
    EXPECT_EQ(demo.stream, 0u);
    std::string out;
    for (int i = 0; i < 30; ++i) {
        frames.advance();
        demo.renderFrame();
        if (frames.frame() == 25) out = testing::internal::GetCapturedStdout();
    }
    EXPECT_DOUBLE_EQ(g_wallTime, 0.6);
    EXPECT_DOUBLE_EQ(g_musicTime, 0.6);
    EXPECT_EQ(out, "0.5 half 0.500000\n"); // frame 25 reads 0.5 exactly: not yet due
    EXPECT_TRUE(demo.events[0].done);
}
