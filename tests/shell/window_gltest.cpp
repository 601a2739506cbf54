// resizeScene on the test context: a zero client height must not divide the aspect by zero. (The
// projection itself shows in every golden frame of the offline renderer.) A new demo window starts active.
#include <gtest/gtest.h>
#include <cmath>
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

// A new window starts active (drawing), also when the window before it was minimised.
TEST(CreateWindowGl, ANewWindowStartsActive)
{
    g_fullscreen = false;
    g_active = false;
    ASSERT_TRUE(createWindow());
    EXPECT_TRUE(g_active);
    destroyWindow();
}
