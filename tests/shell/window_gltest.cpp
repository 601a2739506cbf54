// resizeScene on the test context: a zero client height must not divide the aspect by zero. (The
// projection itself shows in every golden frame of the offline renderer.) A new demo window starts active.
#include <gtest/gtest.h>
#include <cmath>
#include "shell/FramePacer.h"
#include "shell/Platform.h"
#include "shell/Shell.h"
#include "support/GlFixture.h"

using ResizeSceneGl = GlTest;

TEST_F(ResizeSceneGl, ZeroHeightCountsAsOne)
{
    resizeScene(640, 0);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[3], 1);
    GLfloat p[16];
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    for (GLfloat v : p) EXPECT_TRUE(std::isfinite(v));
}

// A new window starts active (drawing), also when the window before it was minimised. Xvfb's
// software GL swaps at once whatever interval is asked, so the loop paces itself: six frames take
// at least five refreshes of 60 Hz.
TEST(CreateWindowGl, ANewWindowStartsActiveAndPacedWhereTheSwapDoesNotWait)
{
    g_fullscreen = false;
    g_active = false;
    ASSERT_TRUE(createWindow());
    EXPECT_TRUE(g_active);
    ASSERT_EQ(SDL_GL_GetSwapInterval(), 0);
    const double start = preciseMilliseconds();
    for (int i = 0; i < 6; ++i) {
        SDL_GL_SwapWindow(g_window);
        paceFrame();
    }
    EXPECT_GE(preciseMilliseconds() - start, 5 * 1000.0 / 60 - 1);
    destroyWindow();
}

TEST(FramePacer, NextDeadlineOneRefreshOnAndLookaheadToTheMiddleOfTheRefresh)
{
    EXPECT_EQ(nextFrameDeadline(0.0, 100.0, 16.0), 116.0);   // the first frame
    EXPECT_EQ(nextFrameDeadline(116.0, 110.0, 16.0), 132.0); // on time: the refresh after
    EXPECT_EQ(nextFrameDeadline(116.0, 131.0, 16.0), 132.0); // late within a frame: still the grid
    EXPECT_EQ(nextFrameDeadline(116.0, 133.0, 16.0), 149.0); // a frame behind: afresh from now

    // The look-ahead: half a refresh, plus the median time from clock reading to swap, at most a refresh.
    FrameLookahead ahead;
    EXPECT_EQ(ahead.milliseconds(16.0), 8.0);
    for (double ms : {3.0, 40.0, 2.0, 4.0, 3.0}) ahead.add(ms); // one slow frame does not count
    EXPECT_EQ(ahead.milliseconds(16.0), 11.0);
    for (size_t i = 0; i < FrameLookahead::kFrames; ++i) ahead.add(30.0); // a swap that waits for vsync
    EXPECT_EQ(ahead.milliseconds(16.0), 24.0);
}
