// The projection set by resizeScene, on the test context.
#include <gtest/gtest.h>
#include <cmath>
#include "shell/Shell.h"
#include "support/GlFixture.h"

using ResizeSceneGl = GlTest;

TEST_F(ResizeSceneGl, ViewportAndPerspectiveFollowTheClientSize)
{
    const double f = 1.0 / std::tan(22.5 * M_PI / 180.0);
    resizeScene(1280, 720);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 1280);
    EXPECT_EQ(viewport[3], 720);
    GLfloat p[16];
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    EXPECT_NEAR(p[0], f / (1280.0 / 720.0), 1e-5);
    EXPECT_NEAR(p[5], f, 1e-5);
    EXPECT_NEAR(p[10], -(1000.0 + 0.1) / (1000.0 - 0.1), 1e-5);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
}

TEST_F(ResizeSceneGl, ZeroHeightCountsAsOne)
{
    resizeScene(640, 0);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[3], 1);
    GLfloat p[16];
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    EXPECT_NEAR(p[0], 1.0 / std::tan(22.5 * M_PI / 180.0) / 640.0, 1e-7);
    resizeScene(1280, 720);
}
