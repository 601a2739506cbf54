#include "support/GlFixture.h"
#include "demo/ProcessState.h"
#include "resources/ShaderLibrary.h"
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

GLuint linkTestProgram(const char* name)
{
    const std::string base = std::string("data/shaders/") + name;
    std::filesystem::create_directories("data/shaders");
    std::ofstream(base + ".vert") << "#version 330 compatibility\n"
                                     "in vec3 in_position; in vec3 in_normal; in vec2 in_texcoords; out float u;\n"
                                     "void main() { u = in_texcoords.x + 0.0 * in_normal.x;"
                                     " gl_Position = gl_ModelViewProjectionMatrix * vec4(in_position, 1.0); }\n";
    std::ofstream(base + ".frag")
        << "#version 330 compatibility\n"
           "in float u; uniform int state; uniform float musictime; out vec4 colour;\n"
           "void main() { colour = vec4(1.0, 0.5, u, 1.0) + 0.0 * vec4(float(state), musictime, 0.0, 0.0); }\n";
    linkShaderProgram(name, std::string(name) + ".vert", std::string(name) + ".frag", "");
    return findShaderProgram(name);
}

DrawTarget::DrawTarget(int w, int h)
{
    glGenRenderbuffers(1, &colour_);
    glBindRenderbuffer(GL_RENDERBUFFER, colour_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, w, h);
    glGenFramebuffers(1, &fbo_);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
    glViewport(0, 0, w, h);
    this->clear();
}

DrawTarget::~DrawTarget()
{
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &fbo_);
    glDeleteRenderbuffers(1, &colour_);
}

void DrawTarget::clear() const
{
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
}

std::vector<uint8_t> DrawTarget::pixel(int x, int y) const
{
    std::vector<uint8_t> rgba(4);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}
