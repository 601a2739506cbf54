// Sphere: the generated mesh as uploaded, the strip indices, "scale" on shared meshes, and a real
// draw from client-memory indices.
#include <gtest/gtest.h>
#include <cstring>
#include <memory>
#include <vector>
#include "effects/EffectRegistry.h"
#include "effects/Globals.h"
#include "effects/Sphere.h"
#include "resources/ShaderLibrary.h"
#include "RunLocal.h"
#include "support/CaptureStdout.h"
#include "support/GlFixture.h"
#include "support/TempDir.h"

namespace {
class SphereGl : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        linkTestProgram("main");
    }
    void TearDown() override
    {
        glBindVertexArray(0);
        GlTest::TearDown();
    }

    // The sphere's vertex buffer as the GL holds it.
    static std::vector<float> uploaded(const Sphere& s)
    {
        std::vector<float> v(Sphere::kVertexBytes / 4);
        glBindBuffer(GL_ARRAY_BUFFER, s.vbo);
        glGetBufferSubData(GL_ARRAY_BUFFER, 0, Sphere::kVertexBytes, v.data());
        return v;
    }

    ScopedWorkDir dir;
};
} // namespace

TEST_F(SphereGl, UploadsTheGeneratedMeshAndDrawsFromClientMemoryIndices)
{
    std::unique_ptr<Demoeffect> e(createEffect("sphere"));
    const Sphere& s = *static_cast<Sphere*>(e.get());
    ASSERT_NE(s.shaderProgram, 0u);
    const std::vector<float> v = uploaded(s);
    EXPECT_EQ(std::memcmp(v.data(), s.vertexData, Sphere::kVertexBytes), 0);
    // {vertex, x, y, u, v}: the north pole at both ends of ring 0's seam, the south pole last.
    const float expected[][5] = {{0, 0, 1, 0, 1}, {39, 0, 1, 1, 1}, {799, 0, -1, 1, 0}};
    for (const auto& x : expected) {
        const float* p = &v[static_cast<size_t>(x[0]) * 8];
        const float got[4] = {p[0], p[1], p[6], p[7]};
        for (int k = 0; k < 4; ++k) EXPECT_NEAR(got[k], x[k + 1], 1e-6f) << x[0] << " " << k;
    }
    for (int n = 0; n < 800; ++n) { // every vertex on the unit sphere, normal equal to position
        const float* p = &v[n * 8];
        EXPECT_NEAR(p[0] * p[0] + p[1] * p[1] + p[2] * p[2], 1.0f, 1e-5f) << n;
        EXPECT_EQ(std::memcmp(p, p + 3, 12), 0) << n;
    }
    const uint16_t* indices = static_cast<const uint16_t*>(s.indexData); // strips pair ring k and k + 1
    EXPECT_EQ(std::vector<uint16_t>(indices, indices + 4), (std::vector<uint16_t>{0, 40, 1, 41}));
    EXPECT_EQ(indices[Sphere::kIndexCount - 2], 759);
    EXPECT_EQ(indices[Sphere::kIndexCount - 1], 799);

    glMatrixMode(GL_PROJECTION);
    gluPerspective(45.0, 1280.0 / 720.0, 0.1, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    e->motion.point[2] = -5.0f;
    e->draw();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    unsigned char centre[4] = {}, corner[4] = {};
    glReadPixels(640, 360, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, centre);
    glReadPixels(5, 5, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, corner);
    EXPECT_EQ(centre[0], 255);
    EXPECT_NEAR(centre[1], 128, 1);
    EXPECT_EQ(corner[0], 0);
}

TEST_F(SphereGl, ScaleEditsTheSharedMeshAndLeavesNormals)
{
    Sphere s;
    const std::vector<float> original = uploaded(s);
    std::unique_ptr<Demoeffect> clone(s.clone());
    runLocal(*clone, "scale;2");
    std::vector<float> v = uploaded(s);
    for (int n = 0; n < 800; ++n)
        for (int c = 0; c < 8; ++c)
            ASSERT_FLOAT_EQ(v[n * 8 + c], original[n * 8 + c] * (c < 3 ? 2.0f : 1.0f)) << n << "," << c;
    GLint vao = -1;
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &vao);
    EXPECT_EQ(vao, 0);
    runLocal(s, "scale;0.5");
    EXPECT_EQ(uploaded(*static_cast<Sphere*>(clone.get())), original);

    // Unknown words and missing factors change nothing.
    EXPECT_EQ(capturedStdout([&] { runLocal(s, "grow;3 scale scale;"); }),
              "failed local: grow 3failed local: scale failed local: scale ");
    EXPECT_EQ(uploaded(s), original);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(SphereGl, WithoutProgramMainTheSphereIsStillBuilt)
{
    clearShaderLibrary();
    std::unique_ptr<Sphere> s;
    EXPECT_NE(capturedStdout([&] { s.reset(new Sphere); }).find("main"), std::string::npos);
    ASSERT_NE(s->vertexData, nullptr);
    s->draw();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
