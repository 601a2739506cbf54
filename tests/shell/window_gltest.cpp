// The projection set by resizeScene, on the test context.
#include <gtest/gtest.h>
#include <cmath>
#include "shell/Shell.h"
#include "support/GlFixture.h"

using ResizeSceneGl = GlTest;

TEST_F(ResizeSceneGl, ViewportAndPerspectiveFollowTheClientSizeAndZeroHeightCountsAsOne)
{
    const double f = 1.0 / std::tan(22.5 * M_PI / 180.0);
    const struct { int width, height, viewportHeight; } cases[] = {{640, 0, 1}, {1280, 720, 720}};
    for (const auto& c : cases) {
        resizeScene(c.width, c.height);
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(viewport[2], c.width);
        EXPECT_EQ(viewport[3], c.viewportHeight);
        GLfloat p[16];
        glGetFloatv(GL_PROJECTION_MATRIX, p);
        EXPECT_NEAR(p[0], f * c.viewportHeight / c.width, 1e-5);
        EXPECT_NEAR(p[5], f, 1e-5);
        EXPECT_NEAR(p[10], -(1000.0 + 0.1) / (1000.0 - 0.1), 1e-5);
        GLint mode = 0;
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        EXPECT_EQ(mode, GL_MODELVIEW);
    }
}
