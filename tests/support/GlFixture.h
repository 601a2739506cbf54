// Test fixture for tests that need a real GL context: one hidden 1280x720 window with a 3.3
// compatibility context per test process, and empty registries plus default GL state per test.
#pragma once
#include <gtest/gtest.h>
#include <cstdint>
#include <vector>
#include "resources/Gl.h"

class GlTest : public ::testing::Test {
protected:
    void SetUp() override;
};

// Writes data/shaders/NAME.vert and NAME.frag under the working directory and links them through
// the shader library as program NAME. The program takes the mesh attributes, "state" and
// "musictime", and colours every fragment (1, 0.5, u, 1) with u the first texture coordinate.
GLuint linkTestProgram(const char* name = "main");

// A w x h RGBA framebuffer, bound with its viewport while it lives, cleared to transparent black.
class DrawTarget {
public:
    DrawTarget(int w, int h);
    ~DrawTarget();
    DrawTarget(const DrawTarget&) = delete;
    DrawTarget& operator=(const DrawTarget&) = delete;
    void clear() const;
    std::vector<uint8_t> pixel(int x, int y) const; // RGBA
private:
    GLuint fbo_ = 0, colour_ = 0;
};
