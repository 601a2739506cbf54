// Test fixture for tests that need a real GL context: one hidden 1280x720 window with a 3.3
// compatibility context per test process, and empty registries plus default GL state per test.
#pragma once
#include <gtest/gtest.h>
#include "resources/Gl.h"

class GlTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

// Reads the current model-view matrix (column-major, 16 floats).
inline void readModelView(float out[16]) { glGetFloatv(GL_MODELVIEW_MATRIX, out); }

// Writes data/shaders/NAME.vert and NAME.frag under the working directory and links them through
// the shader library as program NAME. The program takes the mesh attributes, "state" and
// "musictime", and colours every fragment (1, 0.5, u, 1) with u the first texture coordinate.
GLuint linkTestProgram(const char* name = "main");
