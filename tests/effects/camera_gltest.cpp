// Camera: view direction, roll, fixed world light, colour material and the children's view matrix.
#include <gtest/gtest.h>
#include <cmath>
#include "effects/Camera.h"
#include "effects/Globals.h"
#include "support/GlFixture.h"

using CameraGl = GlTest;

namespace {
// Checks where the world vector v (w = 0: a direction, 1: a point) lands under the column-major
// model-view matrix m.
void expectEye(const float m[16], const float v[4], const float want[3])
{
    for (int r = 0; r < 3; ++r)
        EXPECT_NEAR(m[r] * v[0] + m[4 + r] * v[1] + m[8 + r] * v[2] + m[12 + r] * v[3], want[r], 1e-5f) << r;
}

// Records the model-view matrix it is drawn with.
struct MatrixProbe : Demoeffect {
    float seen[16] = {};
    void draw() override { readModelView(seen); }
};
} // namespace

TEST_F(CameraGl, ViewFollowsYawPitchRollAndMotionWithTheLightFixedAndThePolesDefined)
{
    const float s = std::sqrt(0.5f);
    // The camera's yaw, pitch and roll, its x position and y velocity (one motion step of 0.5 s),
    // then a world vector (w = 0: a direction, 1: a point) and where it must land in eye space.
    const struct {
        float yaw, pitch, roll, x, dy, world[4], eye[3];
    } cases[] = {
        {0.5f, 0.5f, 0, 0, 0, {0, 0, -1, 0}, {0, 0, -1}}, // the look direction becomes -z
        {0.75f, 0.5f, 0, 0, 0, {-1, 0, 0, 0}, {0, 0, -1}},
        {0.25f, 0.5f, 0, 0, 0, {0, 0, 1, 1}, {0, 0, 0}},     // the eye sits at (0, 0, 1)
        {0.5f, 0.5f, 0.25f, 0, 0, {0, 1, 0, 0}, {-1, 0, 0}}, // roll turns about the line of sight
        {0.5f, 0.75f, 0, 3, 2, {0, -s, -s, 0}, {0, 0, -1}},  // moved to (3, 1, 1), 45 degrees down
        {0.5f, 0.75f, 0, 3, 2, {3, 1, 1, 1}, {0, 0, 0}},
    };
    const float worldLight[4] = {1, 1, 1, 0};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.yaw << " " << c.pitch << " " << c.roll << " " << c.x);
        Camera cam;
        MatrixProbe child;
        cam.addChild(&child);
        cam.motion.point[0] = c.x;
        cam.motion.deltaPoint[1] = c.dy;
        cam.motion.direction[0] = c.yaw;
        cam.motion.direction[1] = c.pitch;
        cam.motion.direction[2] = c.roll;
        g_effects.frameDelta = 0.5;
        glLoadIdentity();
        cam.update();
        cam.draw();
        float m[16], light[4];
        readModelView(m);
        expectEye(m, c.world, c.eye);
        expectEye(child.seen, c.world, c.eye);       // the children are drawn in the camera's view
        glGetLightfv(GL_LIGHT0, GL_POSITION, light); // stored in eye space: fixed in the world
        expectEye(m, worldLight, light);
    }
    float d[3];
    for (float pitch : {0.0f, 1.0f, -1.0f}) { // straight up or down would be parallel to "up"
        cameraViewDirection(0.5f, pitch, d);
        EXPECT_GT(std::hypot(d[0], d[2]), 1e-5f) << "pitch " << pitch;
        EXPECT_NEAR(std::fabs(d[1]), 1.0f, 1e-6f);
    }
    // Colour material is on before the ambient and diffuse colours are given, so those two track
    // the current colour (white here) instead of the table.
    float v[4];
    glGetMaterialfv(GL_FRONT, GL_DIFFUSE, v);
    EXPECT_FLOAT_EQ(v[1], 1.0f);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
