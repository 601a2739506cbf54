// Sphere and Model under a real context: the uploaded sphere mesh, "scale" on the shared mesh, a
// model's clones, second and failed loads, and both built without a program.
#include <gtest/gtest.h>
#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <vector>
#include "effects/EffectRegistry.h"
#include "effects/Globals.h"
#include "effects/Model.h"
#include "effects/ObjLoader.h"
#include "effects/Sphere.h"
#include "resources/ShaderLibrary.h"
#include "RunLocal.h"
#include "support/CaptureMessages.h"
#include "support/GlFixture.h"
#include "support/TempDir.h"

namespace {
// A square from -1 to 1 in x and y: two triangles over four merged corners.
const char* kSquare = "v -1 -1 0\nv 1 -1 0\nv 1 1 0\nv -1 1 0\nvn 0 0 1\nf 1//1 2//1 3//1\nf 1//1 3//1 4//1\n";
// One triangle in the lower left quarter of the view, with u = 1 at every corner.
const char* kTriangle = "v -2 -2 0\nv -1 -2 0\nv -2 -1 0\nvt 1 0\nvn 0 0 1\nf 1/1/1 2/1/1 3/1/1\n";

// The test program as "main" and a 64 x 64 target showing -2..2 in x and y: the square covers
// -1..1, pixels 16..47.
class MeshGl : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        dir.write("data/meshes/square.obj", kSquare);
        dir.write("tri.obj", kTriangle);
        program = linkTestProgram("main");
        target.emplace(64, 64);
        glMatrixMode(GL_PROJECTION);
        glOrtho(-2, 2, -2, 2, -2, 2);
        glMatrixMode(GL_MODELVIEW);
    }
    void drawFresh(Demoeffect& e)
    {
        target->clear();
        glLoadIdentity();
        e.draw();
    }
    int red(int x, int y) const { return target->pixel(x, y)[0]; }

    // The sphere's vertex buffer as the GL holds it.
    static std::vector<float> uploaded(const Demoeffect& s)
    {
        std::vector<float> v(Sphere::kVertexBytes / 4);
        glBindBuffer(GL_ARRAY_BUFFER, s.vbo);
        glGetBufferSubData(GL_ARRAY_BUFFER, 0, Sphere::kVertexBytes, v.data());
        return v;
    }

    ScopedWorkDir dir;
    GLuint program = 0;
    std::optional<DrawTarget> target; // made once the context exists
};
} // namespace

TEST_F(MeshGl, SphereClosesItsSeamsAndScaleEditsTheSharedMesh)
{
    std::unique_ptr<Demoeffect> s(createEffect("sphere"));
    const std::vector<float> original = uploaded(*s);
    for (int n = 0; n < 800; ++n) { // every vertex on the unit sphere, each ring closed at its seam
        EXPECT_NEAR(std::hypot(original[n * 8], original[n * 8 + 1], original[n * 8 + 2]), 1.0f, 1e-5f) << n;
        for (int c = 0; c < 3 && n % 40 == 39; ++c)
            EXPECT_NEAR(original[n * 8 + c], original[(n - 39) * 8 + c], 1e-6f) << n;
    }
    // "scale" on a clone scales the positions, not the normals, of the one mesh they share.
    std::unique_ptr<Demoeffect> clone(s->clone());
    runLocal(*clone, "scale;2");
    std::vector<float> v = uploaded(*s);
    for (int n = 0; n < 800; ++n)
        for (int c = 0; c < 8; ++c)
            ASSERT_FLOAT_EQ(v[n * 8 + c], original[n * 8 + c] * (c < 3 ? 2.0f : 1.0f)) << n << "," << c;
    runLocal(*s, "scale;0.5");
    EXPECT_EQ(uploaded(*clone), original);
    // Without a factor the mesh would collapse for good: nothing changes.
    EXPECT_EQ(capturedMessages([&] { runLocal(*s, "scale scale;"); }), "failed local: scale failed local: scale ");
    EXPECT_EQ(uploaded(*s), original);

    clearShaderLibrary(); // without program "main" the sphere is still built and drawn
    std::unique_ptr<Sphere> bare;
    EXPECT_NE(capturedMessages([&] { bare.reset(new Sphere); }).find("main"), std::string::npos);
    ASSERT_NE(bare->vertexData, nullptr);
    bare->draw();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(MeshGl, ModelDrawsNothingUntilLoadedThenClonesReloadsAndLoadsWithoutProgram)
{
    std::unique_ptr<Demoeffect> empty(createEffect("model"));
    empty->shaderProgram = program;
    g_effects.boundProgram = 0;
    // Unknown words fail; "loadobj" without ';' reads the file name as empty, which opens nothing.
    EXPECT_EQ(capturedMessages([&] { runLocal(*empty, "loadobj spin;fast;x"); }), "failed local: spin fast");
    EXPECT_EQ(capturedMessages([&] { drawFresh(*empty); }), "");
    EXPECT_EQ(g_effects.boundProgram, 0u); // not even the base draw ran
    EXPECT_EQ(red(32, 32), 0);

    Model model;
    model.shaderProgram = program;
    runLocal(model, "loadobj;data/meshes/square.obj");
    ASSERT_EQ(model.loaded, 1);
    drawFresh(model);
    EXPECT_EQ(red(32, 32), 255);

    // A second load replaces the mesh (old indices never meet new vertices); a failed load
    // afterwards (a missing file, silently, or one without faces) keeps it; the clone keeps the first mesh.
    std::unique_ptr<Demoeffect> copy(model.clone());
    ASSERT_TRUE(loadObj(model, "tri.obj"));
    std::filesystem::remove(dir.path() / "data/meshes/square.obj");
    EXPECT_EQ(capturedMessages([&] { EXPECT_FALSE(loadObj(model, "data/meshes/square.obj")); }), "");
    dir.write("faceless.obj", "v 1 2 3\n");
    EXPECT_EQ(capturedMessages([&] { EXPECT_FALSE(loadObj(model, "faceless.obj")); }), "Couldn't load faceless.obj");
    drawFresh(model);
    EXPECT_EQ(red(32, 32), 0);
    EXPECT_EQ(red(4, 4), 255);
    EXPECT_EQ(target->pixel(4, 4)[2], 255); // texture coordinate u = 1 reached the program
    drawFresh(*copy);
    EXPECT_EQ(red(32, 32), 255);
    Model bare; // no program: no attribute locations to look up
    ASSERT_TRUE(loadObj(bare, "tri.obj"));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(MeshGl, WithMeshMemoryAFileBeingRewrittenLoadsItsLastGoodMesh)
{
    setMeshMemory(true);
    Model first, second, third;
    ASSERT_TRUE(loadObj(first, "tri.obj"));
    dir.write("tri.obj", ""); // truncated by an editor's save
    EXPECT_TRUE(loadObj(second, "tri.obj"));
    std::filesystem::remove(dir.path() / "tri.obj");
    EXPECT_TRUE(loadObj(third, "tri.obj"));
    EXPECT_EQ(third.indices, first.indices);
    setMeshMemory(false);
    EXPECT_FALSE(loadObj(third, "tri.obj"));
}
