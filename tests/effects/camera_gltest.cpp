// Camera: roll, the view from a moved position, a light fixed in the world and the defined poles.
// (The plain view and its children show in the golden frames.)
#include <gtest/gtest.h>
#include <cmath>
#include "effects/Camera.h"
#include "effects/Globals.h"
#include "support/GlFixture.h"

using CameraGl = GlTest;

TEST_F(CameraGl, RollMotionFixedLightAndPoles)
{
    const float s = std::sqrt(0.5f);
    // Yaw, pitch, roll, x, y velocity (one step of 0.5 s), a world vector (w = 0: a direction) and
    // where it must land in eye space.
    const struct { float yaw, pitch, roll, x, dy, world[4], eye[3]; } cases[] = {
        {0.5f, 0.5f, 0.25f, 0, 0, {0, 1, 0, 0}, {-1, 0, 0}},  // roll turns about the line of sight
        {0.5f, 0.75f, 0, 3, 2, {0, -s, -s, 0}, {0, 0, -1}},  // moved to (3, 1, 1), 45 degrees down
        {0.5f, 0.75f, 0, 3, 2, {3, 1, 1, 1}, {0, 0, 0}},
        {0.5f, 0.75f, 0, 3, 2, {1, 1, 1, 0}, {0, 0, 0}},  // the light: compared below
    };
    for (const auto& c : cases) {
        Camera cam;
        cam.motion.point[0] = c.x;
        cam.motion.deltaPoint[1] = c.dy;
        float* d = cam.motion.direction;
        d[0] = c.yaw, d[1] = c.pitch, d[2] = c.roll;
        g_frameDelta = 0.5;
        glLoadIdentity();
        cam.draw();
        float m[16], light[4];
        readModelView(m);
        glGetLightfv(GL_LIGHT0, GL_POSITION, light); // stored in eye space: fixed in the world
        const float* want = c.world[0] == 1 ? light : c.eye;
        for (int r = 0; r < 3; ++r)
            EXPECT_NEAR(m[r] * c.world[0] + m[4 + r] * c.world[1] + m[8 + r] * c.world[2] + m[12 + r] * c.world[3],
                        want[r], 1e-5f) << c.yaw << " " << c.pitch << " " << c.roll << " row " << r;
    }
    float d[3];
    for (float pitch : {0.0f, 1.0f, -1.0f}) { // straight up or down would be parallel to "up"
        cameraViewDirection(0.5f, pitch, d);
        EXPECT_GT(std::hypot(d[0], d[2]), 1e-5f) << "pitch " << pitch;
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
