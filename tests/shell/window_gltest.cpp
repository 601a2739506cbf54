// resizeScene on the test context: a zero client height must not divide the aspect by zero, and
// drawing code finds the model-view matrix selected afterwards.
#include <gtest/gtest.h>
#include <cmath>
#include "shell/Shell.h"
#include "support/GlFixture.h"

using ResizeSceneGl = GlTest;

TEST_F(ResizeSceneGl, ZeroHeightCountsAsOneAndModelViewIsLeftSelected)
{
    resizeScene(640, 0);
    GLint viewport[4], mode = 0;
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[3], 1);
    GLfloat p[16];
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    for (GLfloat v : p) EXPECT_TRUE(std::isfinite(v));
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
}
