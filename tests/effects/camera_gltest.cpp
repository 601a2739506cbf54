// Camera: view direction, roll, fixed world light, lighting state and the children's view matrix.
#include <gtest/gtest.h>
#include <cmath>
#include <memory>
#include "effects/Camera.h"
#include "effects/EffectRegistry.h"
#include "effects/Globals.h"
#include "support/GlFixture.h"

using CameraGl = GlTest;

namespace {
// Eye-space vector of a world vector under a column-major model-view matrix.
void transform(const float m[16], const float v[4], float out[4])
{
    for (int r = 0; r < 4; ++r)
        out[r] = m[r] * v[0] + m[4 + r] * v[1] + m[8 + r] * v[2] + m[12 + r] * v[3];
}

void expectEyeVector(const float m[16], float x, float y, float z, float w, float ex, float ey, float ez)
{
    const float v[4] = {x, y, z, w};
    float e[4];
    transform(m, v, e);
    EXPECT_NEAR(e[0], ex, 1e-5f);
    EXPECT_NEAR(e[1], ey, 1e-5f);
    EXPECT_NEAR(e[2], ez, 1e-5f);
}

void drawCamera(Camera& cam, float yaw, float pitch, float roll, float m[16])
{
    cam.motion.direction[0] = yaw;
    cam.motion.direction[1] = pitch;
    cam.motion.direction[2] = roll;
    glLoadIdentity();
    cam.draw();
    readModelView(m);
}

// Records the model-view matrix it is drawn with.
struct MatrixProbe : Demoeffect {
    float seen[16] = {};
    int draws = 0;
    void draw() override
    {
        readModelView(seen);
        ++draws;
    }
};
} // namespace

TEST(CameraDirection, PolesStayDefined)
{
    float d[3];
    for (float pitch : {0.0f, 1.0f, -1.0f}) { // straight up or down would be parallel to "up"
        cameraViewDirection(0.5f, pitch, d);
        EXPECT_GT(std::hypot(d[0], d[2]), 1e-5f) << "pitch " << pitch;
        EXPECT_NEAR(std::fabs(d[1]), 1.0f, 1e-6f);
    }
}

TEST_F(CameraGl, ViewFollowsYawPitchRollAndMotion)
{
    const float s = std::sqrt(0.5f);
    // The camera's yaw, pitch and roll, its x position and y velocity (one motion step of 0.5 s),
    // then a world vector (w = 0: a direction, 1: a point) and where it must land in eye space.
    const struct { float yaw, pitch, roll, x, dy, world[4], eye[3]; } cases[] = {
        {0.5f, 0.5f, 0, 0, 0, {0, 0, -1, 0}, {0, 0, -1}},  // the look direction becomes -z
        {0.75f, 0.5f, 0, 0, 0, {-1, 0, 0, 0}, {0, 0, -1}},
        {0.25f, 0.5f, 0, 0, 0, {1, 0, 0, 0}, {0, 0, -1}},
        {0.0f, 0.5f, 0, 0, 0, {0, 0, 1, 0}, {0, 0, -1}},
        {0.75f, 0.5f, 0, 0, 0, {0, 1, 0, 0}, {0, 1, 0}},  // up stays up
        {0.25f, 0.5f, 0, 0, 0, {0, 0, 1, 1}, {0, 0, 0}},  // the eye sits at (0, 0, 1)
        {0.5f, 0.5f, 0.25f, 0, 0, {0, 1, 0, 0}, {-1, 0, 0}},  // roll turns about the line of sight
        {0.5f, 0.5f, 0.25f, 0, 0, {0, 0, -1, 0}, {0, 0, -1}},
        {0.5f, 0.75f, 0, 3, 2, {3, 1, 1, 1}, {0, 0, 0}},  // moved to (3, 1, 1), 45 degrees down
        {0.5f, 0.75f, 0, 3, 2, {0, -s, -s, 0}, {0, 0, -1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.yaw << " " << c.pitch << " " << c.roll << " " << c.x);
        Camera cam;
        cam.motion.point[0] = c.x;
        cam.motion.deltaPoint[1] = c.dy;
        g_frameDelta = 0.5;
        float m[16];
        drawCamera(cam, c.yaw, c.pitch, c.roll, m);
        expectEyeVector(m, c.world[0], c.world[1], c.world[2], c.world[3], c.eye[0], c.eye[1], c.eye[2]);
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(CameraGl, LightStaysFixedInTheWorldAndColourMaterialTracksTheColour)
{
    // {yaw, light position in eye space}: looking along -x, world (1, 1, 1) is left, up, behind.
    const struct { float yaw, eye[4]; } cases[] = {{0.5f, {1, 1, 1, 0}}, {0.75f, {-1, 1, 1, 0}}};
    for (const auto& c : cases) {
        Camera cam;
        float m[16], light[4];
        drawCamera(cam, c.yaw, 0.5f, 0.0f, m);
        glGetLightfv(GL_LIGHT0, GL_POSITION, light);
        for (int n = 0; n < 4; ++n) EXPECT_NEAR(light[n], c.eye[n], 1e-5f) << c.yaw << " " << n;
    }
    for (GLenum cap : {GL_NORMALIZE, GL_LIGHTING, GL_LIGHT0, GL_COLOR_MATERIAL})
        EXPECT_TRUE(glIsEnabled(cap)) << cap;
    // Colour material is on before the ambient and diffuse colours are given, so those two track
    // the current colour (white here) instead of the table.
    float v[4];
    glGetMaterialfv(GL_FRONT, GL_DIFFUSE, v);
    EXPECT_FLOAT_EQ(v[1], 1.0f);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(CameraGl, ChildrenStartFromTheDefaultView)
{
    std::unique_ptr<Demoeffect> cam(createEffect("camera"));
    MatrixProbe child;
    cam->addChild(&child);
    glLoadIdentity();
    cam->draw();
    float after[16];
    readModelView(after);
    ASSERT_EQ(child.draws, 1);
    for (int n = 0; n < 16; ++n) EXPECT_FLOAT_EQ(child.seen[n], after[n]) << n;
    expectEyeVector(child.seen, 0, 0, 0, 1, 0, 0, -1); // the origin lies one unit ahead
}
