// Model and loadObj under a real context: the upload, the vertex layout of the program, drawing from
// client-memory indices (pixels read back), clones, a second load and a failed load.
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>
#include "effects/EffectRegistry.h"
#include "effects/Globals.h"
#include "effects/Model.h"
#include "effects/ObjLoader.h"
#include "RunLocal.h"
#include "support/CaptureStdout.h"
#include "support/GlFixture.h"
#include "support/RenderTarget.h"
#include "support/TempDir.h"

namespace {
const char* kCube =
    "v -1 -1 -1\nv 1 -1 -1\nv 1 1 -1\nv -1 1 -1\nv -1 -1 1\nv 1 -1 1\nv 1 1 1\nv -1 1 1\n"
    "vn 0 0 -1\nvn 0 0 1\nvn 0 -1 0\nvn 0 1 0\nvn -1 0 0\nvn 1 0 0\n"
    "f 1//1 4//1 3//1\nf 1//1 3//1 2//1\nf 5//2 6//2 7//2\nf 5//2 7//2 8//2\n"
    "f 1//3 2//3 6//3\nf 1//3 6//3 5//3\nf 4//4 8//4 7//4\nf 4//4 7//4 3//4\n"
    "f 1//5 5//5 8//5\nf 1//5 8//5 4//5\nf 2//6 3//6 7//6\nf 2//6 7//6 6//6\n";
// One triangle in the lower left quarter of the view, with u = 1 at every corner.
const char* kTriangle = "v -2 -2 0\nv -1 -2 0\nv -2 -1 0\nvt 1 0\nvn 0 0 1\nf 1/1/1 2/1/1 3/1/1\n";

// A 64 x 64 target showing -2..2 in x and y; the cube's face covers -1..1, pixels 16..47.
class ModelGl : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        dir.write("data/meshes/cube.obj", kCube);
        dir.write("tri.obj", kTriangle);
        target.emplace(64, 64);
    }
    void TearDown() override
    {
        target.reset();
        GlTest::TearDown();
    }
    void drawFresh(Demoeffect& e)
    {
        target->clear();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-2, 2, -2, 2, -2, 2);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        e.draw();
    }
    int red(int x, int y) const { return target->pixel(x, y)[0]; }

    ScopedWorkDir dir;
    std::optional<RenderTarget> target; // made once the context exists
};
} // namespace

TEST_F(ModelGl, NothingLoadedDrawsNothingAndNoProgramBindsNoAttributes)
{
    std::unique_ptr<Demoeffect> model(createEffect("model"));
    model->shaderProgram = linkTestProgram();
    g_boundProgram = 0;
    EXPECT_EQ(capturedStdout([&] { drawFresh(*model); }), "");
    EXPECT_EQ(g_boundProgram, 0u); // not even the base draw ran
    EXPECT_EQ(red(32, 32), 0);

    Model bare;
    ASSERT_TRUE(loadObj(bare, "data/meshes/cube.obj"));
    glBindVertexArray(bare.vao);
    GLint enabled = 1;
    glGetVertexAttribiv(0, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
    EXPECT_EQ(enabled, GL_FALSE);
    glBindVertexArray(0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ModelGl, LoadUploadsDrawsClonesAndReloads)
{
    Model model;
    model.shaderProgram = linkTestProgram();
    runLocal(model, "loadobj;data/meshes/cube.obj");
    ASSERT_EQ(model.loaded, 1);
    EXPECT_EQ(model.indices.size(), 36u);
    GLint size = 0, enabled = 0;
    glBindBuffer(GL_ARRAY_BUFFER, model.vbo);
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
    EXPECT_EQ(size, 24 * 32);
    glBindVertexArray(model.vao);
    glGetVertexAttribiv(static_cast<GLuint>(glGetAttribLocation(model.shaderProgram, "in_position")),
                        GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
    EXPECT_EQ(enabled, GL_TRUE);
    glBindVertexArray(0);
    drawFresh(model);
    const int cube[][3] = {{32, 32, 255}, {17, 17, 255}, {14, 32, 0}, {50, 50, 0}}; // x, y, red
    for (const auto& p : cube) EXPECT_EQ(red(p[0], p[1]), p[2]) << p[0] << "," << p[1];

    // A second load replaces the mesh (old indices never meet new vertices); a failed load
    // afterwards keeps it; the clone keeps the first mesh.
    std::unique_ptr<Demoeffect> copy(model.clone());
    ASSERT_TRUE(loadObj(model, "tri.obj"));
    EXPECT_EQ(model.indices, (std::vector<uint32_t>{0, 1, 2}));
    std::filesystem::remove(dir.path() / "data/meshes/cube.obj");
    EXPECT_EQ(capturedStdout([&] { EXPECT_FALSE(loadObj(model, "data/meshes/cube.obj")); }), "");
    EXPECT_EQ(model.indices.size(), 3u);
    drawFresh(model);
    EXPECT_EQ(red(32, 32), 0);
    EXPECT_EQ(red(4, 4), 255);
    EXPECT_EQ(target->pixel(4, 4)[2], 255); // texture coordinate u = 1 reached the program
    drawFresh(*copy);
    EXPECT_EQ(red(32, 32), 255);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
