// The Demo under a real GL context with a hand-set clock and the real interpreter.
#include <gtest/gtest.h>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>
#include "demo/Demo.h"
#include "demo/DemoTestSupport.h"
#include "effects/EffectRegistry.h"
#include "effects/Globals.h"
#include "support/CaptureMessages.h"
#include "support/GlFixture.h"
#include "support/TempDir.h"

namespace {
class DemoGl : public GlTest {
protected:
    // Runs one frame at the given wall-clock milliseconds after the Demo's start; returns its output.
    std::string frameAt(Demo& demo, uint32_t msSinceStart)
    {
        clock.ms = demo.startMs + msSinceStart;
        return capturedMessages([&] { demo.renderFrame(); });
    }
    std::unique_ptr<Demo> quietDemo() // start-up output dropped
    {
        std::unique_ptr<Demo> demo;
        capturedMessages([&] { demo.reset(new Demo(clock)); });
        return demo;
    }

    ScopedWorkDir dir;
    ManualClock clock;
};

// Remembers the last local command text, the model-view matrix at each draw and the draw count.
struct RecordingEffect : Demoeffect {
    void draw() override
    {
        ++draws;
        glGetFloatv(GL_MODELVIEW_MATRIX, matrixAtDraw);
        Demoeffect::draw();
        if (programToBind) g_effects.boundProgram = programToBind; // as if its draw had bound a program
    }
    void local(float, char* argument) override { std::strncpy(lastLocal, argument, sizeof lastLocal - 1); }
    int draws = 0;
    char lastLocal[128] = {};
    float matrixAtDraw[16] = {};
    GLuint programToBind = 0;
};

const std::vector<float> kIdentity{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
} // namespace

TEST_F(DemoGl, ClocksSurviveTheWrapFollowTheMusicOnlyWhilePlayingOrStalledAndRestartWithANewDemo)
{
    dir.write("data/vessikscript.txt", "9.5 two\n");
    clock.ms = 0xFFFFFF00u;
    {
        auto demo = quietDemo();
        frameAt(*demo, 500);
        EXPECT_DOUBLE_EQ(g_effects.wallTime, 0.5);
        clock.ms = 0x00000100u; // the 32-bit clock wrapped: 0x200 ms after the start
        demo->renderFrame();
        EXPECT_DOUBLE_EQ(g_effects.wallTime, 0.512);
        EXPECT_NEAR(g_effects.frameDelta, 0.012, 1e-12);
        clock.position = 3.25;
        // Playing (1) or stalled (2): the music position; stopped (0) or paused (3): the wall clock.
        for (const auto& [state, expected] : {std::pair<int, double>{1, 3.25}, {2, 3.25}, {0, 1.0}, {3, 1.0}}) {
            clock.state = state;
            frameAt(*demo, 1000);
            EXPECT_DOUBLE_EQ(g_effects.musicTime, expected) << "state " << state;
        }
        EXPECT_EQ(frameAt(*demo, 9501), "Doing: 9.5 two\n"); // events follow the wall clock too
    }
    EXPECT_EQ(clock.stops, 1);
    auto again = quietDemo();
    EXPECT_EQ(g_effects.wallTime, 0.0);
    frameAt(*again, 20);
    EXPECT_DOUBLE_EQ(g_effects.frameDelta, 0.02);
}

// Header lines are no events; a BAR:BEAT time is listed and announced as written, with its seconds.
TEST_F(DemoGl, ListsTheScriptThenRunsEventsStrictlyAfterTheirTimeInFileOrderOnceDrawingFromIdentity)
{
    dir.write("data/vessikscript.txt", "# comment\nTEMPO 120 0.5\n-1 SCENE append first\n5.0 SCENE append late\r\n"
                                       "-0.5 ghost scale 2\nMUSIC song.ogg\n2.0 early\n1:2 x\n");
    RecordingEffect first, late;
    first.motion.point[2] = -5.0f; // leaves a translation behind on the matrix
    first.programToBind = 12345;
    EffectRegistry::findOrAdd("first") = &first;
    EffectRegistry::findOrAdd("late") = &late;
    startMessageCapture();
    Demo demo(clock);
    // Each start-up event runs as its line is listed, so its output follows that line.
    EXPECT_EQ(
        endMessageCapture(),
        "-1 SCENE append first -1.000000\n5.0 SCENE append late 5.000000\n-0.5 ghost scale 2 -0.500000\n"
        "You need to create this effect with new or clone first! ghost scale\n2.0 early 2.000000\n1:2 x 1.000000\n");
    EXPECT_EQ(clock.starts, 1);
    EXPECT_EQ(clock.music, "data/music/song.ogg"); // the MUSIC name, under data/music/ when not found as it is
    clock.state = 1;
    clock.position = 1.0; // equal to an event's time: not due yet
    EXPECT_EQ(frameAt(demo, 10), "");
    EXPECT_EQ(g_effects.boundProgram, 0u); // released at the end of the frame
    clock.position = 1.0001;
    EXPECT_EQ(frameAt(demo, 20), "Doing: 1:2 x\n");
    clock.position = 6.0; // both others became due in one frame: file order, not time order
    EXPECT_EQ(frameAt(demo, 30), "Doing: 5.0 SCENE append late\nDoing: 2.0 early\n");
    EXPECT_EQ(late.draws, 1); // appended by an event of this frame, drawn in it
    EXPECT_EQ(std::vector<float>(late.matrixAtDraw, late.matrixAtDraw + 16), kIdentity);
    EXPECT_EQ(frameAt(demo, 40), "");
    EXPECT_EQ(first.draws, 4);                     // appended at start-up, drawn in every frame
    EXPECT_FALSE(EffectRegistry::contains("fps")); // absent: no text made, nothing added
}

TEST_F(DemoGl, FpsGetsTheAverageFrameRateAndSkydomeTheCameraPosition)
{
    RecordingEffect fps, cam, sky;
    EffectRegistry::findOrAdd("fps") = &fps;
    EffectRegistry::findOrAdd("skydome") = &sky;
    auto demo = quietDemo();
    clock.state = 1;
    clock.position = 0.75;
    frameAt(*demo, 0); // the very first millisecond: 0 frames in 0 s
    EXPECT_NE(std::string(fps.lastLocal).find("nan fps"), std::string::npos) << fps.lastLocal;
    frameAt(*demo, 1500);
    EXPECT_STREQ(fps.lastLocal, "text;0.666667 fps"); // 1 frame drawn before, in 1.5 s
    EXPECT_FALSE(EffectRegistry::contains("cam"));    // no camera: nothing added, the sky stays put

    cam.motion.point[0] = 1;
    cam.motion.point[1] = 2;
    cam.motion.point[2] = 3;
    cam.motion.direction[0] = 0.9f;
    EffectRegistry::findOrAdd("cam") = &cam;
    frameAt(*demo, 1600);
    EXPECT_EQ(std::vector<float>(sky.motion.point, sky.motion.point + 3), (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(sky.motion.direction[0], 0.5f); // the position only (0.5 is the default direction)
}

// END asks the demo to stop: the frame it runs in returns false without drawing, the events due
// after it in that frame never run, and later frames do nothing. The process is never ended from
// inside (an exit during the test fails it), also for an END among the start-up events.
TEST_F(DemoGl, EndStopsTheDemoWithNothingRunOrDrawnAfterIt)
{
    static bool running = false;
    std::atexit([] {
        if (running) std::_Exit(1);
    });
    running = true;
    dir.write("data/vessikscript.txt", "-1 SCENE append first\n2.0 x END\n1.5 SCENE append late\n3.0 y\n");
    RecordingEffect first, late;
    EffectRegistry::findOrAdd("first") = &first;
    EffectRegistry::findOrAdd("late") = &late;
    auto demo = quietDemo();
    clock.state = 1;
    clock.position = 1.0;
    EXPECT_EQ(capturedMessages([&] { EXPECT_TRUE(demo->renderFrame()); }), "");
    clock.position = 2.5;
    EXPECT_EQ(capturedMessages([&] { EXPECT_FALSE(demo->renderFrame()); }), "Doing: 2.0 x END\n");
    clock.position = 4.0;
    EXPECT_EQ(capturedMessages([&] { EXPECT_FALSE(demo->renderFrame()); }), "");
    EXPECT_EQ(first.draws, 1);
    EXPECT_EQ(late.draws, 0);
    EXPECT_TRUE(demo->ended());

    dir.write("data/vessikscript.txt", "-1 x END\n-1 SCENE append first\n");
    std::unique_ptr<Demo> early;
    EXPECT_EQ(capturedMessages([&] { early.reset(new Demo(clock)); }), "-1 x END -1.000000\n");
    EXPECT_FALSE(early->renderFrame());
    EXPECT_EQ(first.draws, 1);
    running = false;
}

// A frame depends only on the script and its time: the first frame of a Demo, on a context as fresh
// (blend function (ONE, ZERO)) or as used as may be, equals every later one. A half-transparent
// quad, drawn before the camera lights the scene and before an image sets its blend function, shows
// the light position and the current colour it finds, blended over the clear colour.
TEST_F(DemoGl, EveryFrameStartsFromTheSameGlState)
{
    dir.write("data/meshes/quad.obj", "v -1 -1 0\nv 1 -1 0\nv 1 1 0\nv -1 1 0\nf 1 2 3 4\n");
    dir.write("data/shaders/half.vert", "#version 330 compatibility\nin vec3 in_position; out vec4 c; void main() {"
                                        " c = vec4(gl_LightSource[0].position.xyz * 0.5 + 0.5, 0.5) * gl_Color;"
                                        " gl_Position = vec4(in_position, 1.0); }\n");
    dir.write("data/shaders/half.frag", "#version 330 compatibility\nin vec4 c; out vec4 o; void main() { o = c; }\n");
    dir.write("data/vessikscript.txt",
              "-1 half SHADER half.vert,half.frag,\n-1 quad new model\n-1 quad shader half\n"
              "-1 quad local loadobj;data/meshes/quad.obj\n-1 cam new camera\n-1 pic new image\n"
              "-1 pic setpoint 9 9 0\n-1 SCENE append quad\n-1 SCENE append cam\n-1 SCENE append pic\n");
    DrawTarget target(8, 8);
    glBlendFunc(GL_ONE, GL_ZERO);
    glColor4f(0.5f, 0.5f, 0.5f, 0.5f);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_NEVER, 0.0f);
    for (const char* start : {"start", "restart"}) {
        auto demo = quietDemo();
        for (const uint32_t ms : {10u, 20u}) {
            frameAt(*demo, ms);
            // (0.5, 0.5, 1, 0.5): the light towards the viewer, a white colour; over (0.1, 0.1, 0.1, 0).
            const std::vector<uint8_t> p = target.pixel(4, 4);
            const int expected[] = {77, 77, 140, 64};
            for (int i = 0; i < 4; ++i)
                EXPECT_NEAR(p[i], expected[i], 1) << start << ", " << ms << " ms, channel " << i;
        }
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
