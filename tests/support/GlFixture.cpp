#include "support/GlFixture.h"
#include "demo/ProcessState.h"
#include "effects/Globals.h"
#include "resources/ShaderLibrary.h"
#include "resources/TextureLibrary.h"
#include "shell/OffscreenContext.h"
#include <filesystem>
#include <fstream>
#include <string>

void GlTest::SetUp()
{
    ASSERT_TRUE(createOffscreenContext(1280, 720)) << "no GL context (run under xvfb-run)";
    resetProcessState();
    glUseProgram(0);
    glViewport(0, 0, 1280, 720);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    while (glGetError() != GL_NO_ERROR) {}
}

void GlTest::TearDown()
{
    glUseProgram(0);
    g_effects.boundProgram = 0;
}

GLuint linkTestProgram(const char* name)
{
    const std::string base = std::string("data/shaders/") + name;
    std::filesystem::create_directories("data/shaders");
    std::ofstream(base + ".vert") << "#version 330 compatibility\n"
        "in vec3 in_position; in vec3 in_normal; in vec2 in_texcoords; out float u;\n"
        "void main() { u = in_texcoords.x + 0.0 * in_normal.x;"
        " gl_Position = gl_ModelViewProjectionMatrix * vec4(in_position, 1.0); }\n";
    std::ofstream(base + ".frag") << "#version 330 compatibility\n"
        "in float u; uniform int state; uniform float musictime; out vec4 colour;\n"
        "void main() { colour = vec4(1.0, 0.5, u, 1.0) + 0.0 * vec4(float(state), musictime, 0.0, 0.0); }\n";
    const std::string file = name;
    linkShaderProgram(name, file + ".vert", file + ".frag", "");
    return findShaderProgram(name);
}
