// Camera: a pitch straight up or down still gives a view direction off the up vector. (Where the
// camera looks, its roll, the light fixed in the world and the material show in the golden frames.)
#include <gtest/gtest.h>
#include <cmath>
#include "effects/Camera.h"

TEST(Camera, PolesKeepTheViewDirectionOffTheUpVector)
{
    float d[3];
    for (float pitch : {0.0f, 1.0f, -1.0f}) {
        cameraViewDirection(0.5f, pitch, d);
        EXPECT_GT(std::hypot(d[0], d[2]), 1e-5f) << "pitch " << pitch;
        EXPECT_NEAR(std::fabs(d[1]), 1.0f, 1e-6f);
    }
}
