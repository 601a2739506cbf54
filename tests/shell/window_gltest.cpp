// resizeScene on the test context: a zero client height must not divide the aspect by zero. (The
// projection itself shows in every golden frame of the offline renderer.) A new demo window starts active.
#include <gtest/gtest.h>
#include <cmath>
#include <cstdlib>
#include <string>
#include "shell/Shell.h"
#include "support/CaptureMessages.h"
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

// A driver that draws into memory (SDL's fallback when no display can be opened) is refused with
// the video failure's message instead of a demo running unseen. The display is hidden so that the
// message is printed rather than shown.
TEST(CreateWindowGl, ADriverWithoutVisibleWindowsIsRefused)
{
    const std::string display = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    unsetenv("DISPLAY");
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    g_fullscreen = false;
    bool created = true;
    EXPECT_EQ(capturedMessages([&] { created = createWindow(); }),
              "Message box could not be shown: ERROR: Failed to register window class. (answer taken: OK)\n");
    EXPECT_FALSE(created);
    EXPECT_EQ(g_window, nullptr);
    unsetenv("SDL_VIDEODRIVER");
    if (!display.empty()) setenv("DISPLAY", display.c_str(), 1);
}

// A new window starts active (drawing), also when the window before it was minimised.
TEST(CreateWindowGl, ANewWindowStartsActive)
{
    g_fullscreen = false;
    g_active = false;
    ASSERT_TRUE(createWindow());
    EXPECT_TRUE(g_active);
    destroyWindow();
}
