// The demo's GLSL files in data/shaders: every NAME.vert / NAME.frag pair (with NAME.geom when there
// is one) compiles and links on the test context, offers the uniforms the effects set and keeps the
// mesh attributes at the fixed locations 0, 1, 2. (What they draw shows in the golden frames.)
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

// Which programs the demo needs is checked by zemblar --check on the shipped data (e2e/script_check.sh).
TEST_F(ShaderFilesGl, EveryProgramLinksTakesTheEffectUniformsAndKeepsTheAttributeLocations)
{
    ScopedWorkDir dir;
    fs::create_directories("data");
    fs::copy(fs::path(ZEMBLAR_SOURCE_DIR) / "data" / "shaders", "data/shaders");
    for (const auto& entry : fs::directory_iterator("data/shaders")) {
        if (entry.path().extension() != ".vert") continue;
        const std::string name = entry.path().stem().string();
        SCOPED_TRACE(name);
        const std::string geometry = fs::exists("data/shaders/" + name + ".geom") ? name + ".geom" : "";
        // Any compile or link failure prints its log here.
        ASSERT_EQ(capturedMessages([&] { linkShaderProgram(name, name + ".vert", name + ".frag", geometry); }), "");
        const GLuint program = findShaderProgram(name);
        EXPECT_NE(glGetUniformLocation(program, "state"), -1);
        EXPECT_NE(glGetUniformLocation(program, "musictime"), -1);
        // Meshes keep one vertex array across programs, so every program agrees on locations.
        const GLint position = glGetAttribLocation(program, "in_position");
        EXPECT_TRUE(position == 0 || (name == "image" && position == -1));
        for (const auto& [attribute, fixed] : {std::pair<const char*, GLint>{"in_normal", 1}, {"in_texcoords", 2}})
            EXPECT_TRUE(glGetAttribLocation(program, attribute) == -1 ||
                        glGetAttribLocation(program, attribute) == fixed)
                << attribute;
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
