// The demo's GLSL files in data/shaders: every NAME.vert / NAME.frag pair (with NAME.geom when
// there is one) compiles and links on the test context, offers the uniforms the effects set, keeps
// the mesh attributes at the fixed locations 0, 1, 2, and draws visible pixels with every state bit.
#include <gtest/gtest.h>
#include <filesystem>
#include <string>
#include <utility>
#include "resources/ShaderLibrary.h"
#include "support/CaptureMessages.h"
#include "support/GlFixture.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;
using ShaderFilesGl = GlTest;

namespace {
// A quad around the view centre facing the viewer, with both the fixed-function inputs (for
// programs that read gl_Vertex and gl_MultiTexCoord0) and the mesh attributes: in a compatibility
// context glVertex is generic attribute 0 (in_position); 1 and 2 are in_normal and in_texcoords.
void drawQuad()
{
    const float corners[4][2] = {{-0.5f, 0.5f}, {-0.5f, -0.5f}, {0.5f, -0.5f}, {0.5f, 0.5f}};
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glNormal3f(0.0f, 0.0f, 1.0f);
    glVertexAttrib3f(1, 0.0f, 0.0f, 1.0f);
    glBegin(GL_QUADS);
    for (const auto& c : corners) {
        glTexCoord2f(c[0] + 0.5f, c[1] + 0.5f);
        glVertexAttrib2f(2, c[0] + 0.5f, c[1] + 0.5f);
        glVertex3f(c[0], c[1], 0.0f);
    }
    glEnd();
}
} // namespace

// Which programs the demo needs is checked by playing its script (script_file_gltest).
TEST_F(ShaderFilesGl, EveryProgramLinksTakesTheEffectUniformsAndDrawsWithEveryStateBit)
{
    ScopedWorkDir dir;
    fs::create_directories("data");
    fs::copy(fs::path(ZEMBLAR_SOURCE_DIR) / "data" / "shaders", "data/shaders");
    // Colour is read without blending: a see-through variant still has to write some colour.
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    const float light[] = {1.0f, 1.0f, 1.0f, 0.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, light);
    glTranslatef(0.0f, 0.0f, -0.5f);
    int programs = 0;
    for (const auto& entry : fs::directory_iterator("data/shaders")) {
        if (entry.path().extension() != ".vert") continue;
        const std::string name = entry.path().stem().string();
        SCOPED_TRACE(name);
        ++programs;
        const std::string geometry = fs::exists("data/shaders/" + name + ".geom") ? name + ".geom" : "";
        // Any compile or link failure prints its log here.
        ASSERT_EQ(capturedMessages([&] { linkShaderProgram(name, name + ".vert", name + ".frag", geometry); }), "");
        const GLuint program = findShaderProgram(name);
        EXPECT_NE(glGetUniformLocation(program, "state"), -1);
        EXPECT_NE(glGetUniformLocation(program, "musictime"), -1);
        // Meshes keep one vertex array across programs, so every program agrees on locations.
        if (name != "image") {
            EXPECT_EQ(glGetAttribLocation(program, "in_position"), 0);
        }
        for (const auto& [attribute, fixed] : {std::pair<const char*, GLint>{"in_normal", 1}, {"in_texcoords", 2}}) {
            const GLint location = glGetAttribLocation(program, attribute);
            EXPECT_TRUE(location == -1 || location == fixed) << attribute << " at " << location;
        }
        glUseProgram(program);
        for (int state : {0, 1, 2, 4, 8, 16, 32, 63}) {
            glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            glUniform1i(glGetUniformLocation(program, "state"), state);
            glUniform1f(glGetUniformLocation(program, "musictime"), 12.3f);
            drawQuad();
            unsigned char rgba[4] = {0, 0, 0, 0};
            glReadPixels(640, 360, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba); // the viewport's centre
            EXPECT_GT(rgba[0] + rgba[1] + rgba[2], 8) << "nothing visible at the centre with state " << state;
        }
        glUseProgram(0);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
    EXPECT_GT(programs, 0);
}
