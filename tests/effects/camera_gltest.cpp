// Camera: roll, a light fixed in the world and the defined poles. (The plain and the moving view
// with its children show in the golden frames.)
#include <gtest/gtest.h>
#include <cmath>
#include "effects/Camera.h"
#include "support/GlFixture.h"

using CameraGl = GlTest;

TEST_F(CameraGl, RollFixedLightAndPoles)
{
    Camera cam;
    float* d = cam.motion.direction;
    d[0] = 0.5f, d[1] = 0.75f, d[2] = 0.25f; // 45 degrees down, rolled a quarter turn
    cam.draw();
    float m[16], light[4];
    readModelView(m);
    glGetLightfv(GL_LIGHT0, GL_POSITION, light); // stored in eye space: fixed in the world
    const float s = std::sqrt(0.5f);
    // World direction -> where it must land in eye space: the view line becomes -z, and roll
    // turns "up" about it.
    const float rows[][2][3] = {{{0, -s, -s}, {0, 0, -1}}, {{0, s, -s}, {-1, 0, 0}}, {{1, 1, 1}, {light[0], light[1], light[2]}}};
    for (const auto& r : rows)
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(m[i] * r[0][0] + m[4 + i] * r[0][1] + m[8 + i] * r[0][2], r[1][i], 1e-5f) << r[0][0] << r[0][1] << i;
    for (float pitch : {0.0f, 1.0f, -1.0f}) { // straight up or down would be parallel to "up"
        cameraViewDirection(0.5f, pitch, d);
        EXPECT_GT(std::hypot(d[0], d[2]), 1e-5f) << "pitch " << pitch;
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
