// Model and loadObj under a real context: the upload, the vertex layout of the program, drawing from
// client-memory indices (pixels read back), clones, a second load and a failed load.
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>
#include "effects/EffectRegistry.h"
#include "effects/Globals.h"
#include "effects/Model.h"
#include "effects/ObjLoader.h"
#include "support/GlFixture.h"
#include "support/TempDir.h"

namespace {

struct RenderTarget {
    GLuint fbo = 0, colour = 0;
    RenderTarget()
    {
        glGenRenderbuffers(1, &colour);
        glBindRenderbuffer(GL_RENDERBUFFER, colour);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, 64, 64);
        glGenFramebuffers(1, &fbo);
        glBindFramebuffer(GL_FRAMEBUFFER, fbo);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
        glViewport(0, 0, 64, 64);
        clear();
    }
    ~RenderTarget()
    {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &fbo);
        glDeleteRenderbuffers(1, &colour);
    }
    static void clear()
    {
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    // Red channel of pixel (x, y).
    static int red(int x, int y)
    {
        uint8_t p[4];
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        return p[0];
    }
};

GLuint compile(GLenum kind, const char* source)
{
    const GLuint shader = glCreateShader(kind);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    return shader;
}

// Draws each fragment in white with the texture coordinate u in blue, placed by the fixed matrices.
GLuint makeProgram()
{
    const GLuint program = glCreateProgram();
    glAttachShader(program, compile(GL_VERTEX_SHADER,
        "#version 330 compatibility\nin vec3 in_position; in vec3 in_normal; in vec2 in_texcoords; out float u;\n"
        "void main() { u = in_texcoords.x + 0.0 * in_normal.x; gl_Position = gl_ModelViewProjectionMatrix * vec4(in_position, 1.0); }\n"));
    glAttachShader(program, compile(GL_FRAGMENT_SHADER,
        "#version 330\nin float u; out vec4 colour; void main() { colour = vec4(1.0, 1.0, u, 1.0); }\n"));
    glLinkProgram(program);
    GLint ok = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    EXPECT_EQ(ok, GL_TRUE);
    return program;
}

void setView()
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-2, 2, -2, 2, -2, 2);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

const char* kCube =
    "v -1 -1 -1\nv 1 -1 -1\nv 1 1 -1\nv -1 1 -1\nv -1 -1 1\nv 1 -1 1\nv 1 1 1\nv -1 1 1\n"
    "vn 0 0 -1\nvn 0 0 1\nvn 0 -1 0\nvn 0 1 0\nvn -1 0 0\nvn 1 0 0\n"
    "f 1//1 4//1 3//1\nf 1//1 3//1 2//1\nf 5//2 6//2 7//2\nf 5//2 7//2 8//2\n"
    "f 1//3 2//3 6//3\nf 1//3 6//3 5//3\nf 4//4 8//4 7//4\nf 4//4 7//4 3//4\n"
    "f 1//5 5//5 8//5\nf 1//5 8//5 4//5\nf 2//6 3//6 7//6\nf 2//6 7//6 6//6\n";
// One triangle in the lower left quarter of the view, with u = 1 at every corner.
const char* kTriangle = "v -2 -2 0\nv -1 -2 0\nv -2 -1 0\nvt 1 0\nvn 0 0 1\nf 1/1/1 2/1/1 3/1/1\n";

GLint bufferSize(GLuint vbo)
{
    GLint size = 0;
    glBindBuffer(GL_ARRAY_BUFFER, vbo);
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
    return size;
}

} // namespace

using ModelGl = GlTest;

TEST_F(ModelGl, NothingLoadedDrawsNothing)
{
    std::unique_ptr<Demoeffect> e(createEffect("model"));
    Model* model = dynamic_cast<Model*>(e.get());
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->loaded, 0);
    model->shaderProgram = makeProgram();
    RenderTarget target;
    setView();
    testing::internal::CaptureStdout();
    model->draw();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(g_boundProgram, 0u); // not even the base draw ran
    EXPECT_EQ(target.red(32, 32), 0);
}

TEST_F(ModelGl, LoadUploadsAndDrawsTheCube)
{
    ScopedWorkDir dir;
    dir.write("data/meshes/cube.obj", kCube);
    Model model;
    model.shaderProgram = makeProgram();
    char command[] = "loadobj;data/meshes/cube.obj";
    model.local(0, command);
    ASSERT_EQ(model.loaded, 1);
    EXPECT_NE(model.vao, 0u);
    EXPECT_NE(model.vbo, 0u);
    EXPECT_TRUE(model.vertices.empty());
    EXPECT_EQ(model.indices.size(), 36u);
    EXPECT_EQ(bufferSize(model.vbo), 24 * 32);
    GLint enabled = 0;
    glBindVertexArray(model.vao);
    glGetVertexAttribiv(static_cast<GLuint>(glGetAttribLocation(model.shaderProgram, "in_position")),
                        GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
    EXPECT_EQ(enabled, GL_TRUE);
    glBindVertexArray(0);

    RenderTarget target;
    setView();
    model.draw();
    EXPECT_EQ(target.red(32, 32), 255); // the cube's face covers -1..1: pixels 16..47
    EXPECT_EQ(target.red(17, 17), 255);
    EXPECT_EQ(target.red(14, 32), 0);
    EXPECT_EQ(target.red(50, 50), 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ModelGl, CloneDrawsTheSameMeshAndASecondLoadReplacesIt)
{
    ScopedWorkDir dir;
    dir.write("cube.obj", kCube);
    dir.write("tri.obj", kTriangle);
    Model model;
    model.shaderProgram = makeProgram();
    ASSERT_TRUE(loadObj(model, "cube.obj"));
    std::unique_ptr<Demoeffect> copy(model.clone());
    std::filesystem::remove(dir.path() / "cube.obj");

    RenderTarget target;
    setView();
    copy->draw();
    EXPECT_EQ(target.red(32, 32), 255);

    // The second load replaces the mesh; a failed load afterwards keeps it.
    ASSERT_TRUE(loadObj(model, "tri.obj"));
    EXPECT_EQ(model.indices, (std::vector<uint32_t>{0, 1, 2}));
    testing::internal::CaptureStdout();
    EXPECT_FALSE(loadObj(model, "cube.obj"));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(model.indices.size(), 3u);
    RenderTarget::clear();
    glLoadIdentity();
    model.draw();
    EXPECT_EQ(target.red(32, 32), 0);
    EXPECT_EQ(target.red(4, 4), 255);
    uint8_t p[4];
    glReadPixels(4, 4, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    EXPECT_EQ(p[2], 255); // texture coordinate u = 1 reached the program

    // The clone kept the cube.
    RenderTarget::clear();
    glLoadIdentity();
    copy->draw();
    EXPECT_EQ(target.red(32, 32), 255);
}

TEST_F(ModelGl, NoProgramMeansNoAttributeBindings)
{
    ScopedWorkDir dir;
    dir.write("cube.obj", kCube);
    Model model;
    ASSERT_TRUE(loadObj(model, "cube.obj"));
    glBindVertexArray(model.vao);
    GLint enabled = 1;
    glGetVertexAttribiv(0, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
    EXPECT_EQ(enabled, GL_FALSE);
    glBindVertexArray(0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
