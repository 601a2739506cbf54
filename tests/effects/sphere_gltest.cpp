// Sphere: the generated mesh as uploaded, the strip indices, "scale" on shared meshes, and a real
// draw from client-memory indices.
#include <gtest/gtest.h>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>
#include "effects/EffectRegistry.h"
#include "effects/Globals.h"
#include "effects/Sphere.h"
#include "resources/ShaderLibrary.h"
#include "support/GlFixture.h"
#include "support/TempDir.h"

namespace {
const char* kVertexStage = R"(#version 330 compatibility
in vec3 in_position;
in vec3 in_normal;
in vec2 in_texcoords;
out vec2 uv;
void main() { uv = in_texcoords + in_normal.xy * 0.0; gl_Position = gl_ModelViewProjectionMatrix * vec4(in_position, 1.0); }
)";
const char* kFragmentStage = R"(#version 330 compatibility
in vec2 uv;
uniform int state;
uniform float musictime;
out vec4 colour;
void main() { colour = vec4(1.0, 0.5, 0.25, 1.0) + vec4(uv, float(state), musictime) * 0.0; }
)";

class SphereGl : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        dir_ = std::make_unique<ScopedWorkDir>();
        dir_->write("data/shaders/main.vert", kVertexStage);
        dir_->write("data/shaders/main.frag", kFragmentStage);
        linkShaderProgram("main", "main.vert", "main.frag", "");
    }
    void TearDown() override
    {
        glBindVertexArray(0);
        GlTest::TearDown();
        dir_.reset();
    }

    // The sphere's vertex buffer as the GL holds it.
    static std::vector<float> uploaded(const Sphere& s)
    {
        std::vector<float> v(Sphere::kVertexBytes / 4);
        glBindBuffer(GL_ARRAY_BUFFER, s.vbo);
        glGetBufferSubData(GL_ARRAY_BUFFER, 0, Sphere::kVertexBytes, v.data());
        return v;
    }

    std::unique_ptr<ScopedWorkDir> dir_;
};

void local(Demoeffect& e, const char* text)
{
    std::vector<char> buffer(text, text + std::strlen(text) + 1);
    e.local(0.0f, buffer.data());
}
} // namespace

TEST_F(SphereGl, UploadsTheGeneratedMesh)
{
    Sphere s;
    ASSERT_NE(s.shaderProgram, 0u);
    EXPECT_EQ(g_boundProgram, s.shaderProgram);
    EXPECT_EQ(s.rings, 20);
    EXPECT_EQ(s.segments, 40);
    EXPECT_EQ(s.vertexBytes, 25600);
    GLint size = 0;
    glBindBuffer(GL_ARRAY_BUFFER, s.vbo);
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
    EXPECT_EQ(size, 25600);

    const std::vector<float> v = uploaded(s);
    const float* v0 = &v[0];
    const float expected0[8] = {0, 1, 0, 0, 1, 0, 0, 1};
    for (int n = 0; n < 8; ++n) EXPECT_FLOAT_EQ(v0[n], expected0[n]) << n;
    const float* v39 = &v[39 * 8]; // end of ring 0: same place, other side of the seam
    EXPECT_NEAR(v39[0], 0.0f, 1e-6f);
    EXPECT_FLOAT_EQ(v39[1], 1.0f);
    EXPECT_FLOAT_EQ(v39[6], 1.0f);
    EXPECT_FLOAT_EQ(v39[7], 1.0f);
    const float* v799 = &v[799 * 8];
    EXPECT_FLOAT_EQ(v799[1], -1.0f);
    EXPECT_FLOAT_EQ(v799[6], 1.0f);
    EXPECT_FLOAT_EQ(v799[7], 0.0f);
    const float* seamStart = &v[(10 * 40) * 8]; // ring 10: both ends of the seam coincide
    const float* seamEnd = &v[(10 * 40 + 39) * 8];
    for (int n = 0; n < 3; ++n) EXPECT_NEAR(seamStart[n], seamEnd[n], 1e-6f);
    EXPECT_EQ(std::memcmp(v.data(), s.vertexData, Sphere::kVertexBytes), 0);
    for (int n = 0; n < 800; ++n) { // every vertex on the unit sphere, normal equal to position
        const float* p = &v[n * 8];
        EXPECT_NEAR(p[0] * p[0] + p[1] * p[1] + p[2] * p[2], 1.0f, 1e-5f) << n;
        EXPECT_EQ(std::memcmp(p, p + 3, 12), 0) << n;
    }
}

TEST(SphereMesh, StripIndicesPairEachRingWithTheNext)
{
    std::vector<float> vertices(Sphere::kVertexCount * 8);
    std::vector<uint16_t> indices(Sphere::kIndexCount);
    buildSphereMesh(vertices.data(), indices.data());
    EXPECT_EQ(indices.size(), 1520u);
    const uint16_t head[4] = {0, 40, 1, 41};
    for (int n = 0; n < 4; ++n) EXPECT_EQ(indices[n], head[n]);
    EXPECT_EQ(indices[1518], 759);
    EXPECT_EQ(indices[1519], 799);
}

TEST_F(SphereGl, ScaleEditsTheSharedMeshAndLeavesNormals)
{
    Sphere s;
    const std::vector<float> original = uploaded(s);
    std::unique_ptr<Demoeffect> copy(s.clone());
    auto* clone = dynamic_cast<Sphere*>(copy.get());
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(clone->vertexData, s.vertexData);
    EXPECT_EQ(clone->indexData, s.indexData);
    EXPECT_EQ(clone->vbo, s.vbo);
    EXPECT_EQ(clone->vao, s.vao);

    local(*clone, "scale;2");
    std::vector<float> v = uploaded(s);
    for (int n = 0; n < 800; ++n)
        for (int c = 0; c < 8; ++c) {
            const float want = c < 3 ? original[n * 8 + c] * 2.0f : original[n * 8 + c];
            ASSERT_FLOAT_EQ(v[n * 8 + c], want) << n << "," << c;
        }
    GLint vao = -1;
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &vao);
    EXPECT_EQ(vao, 0);

    local(s, "scale;0.5");
    v = uploaded(*clone);
    for (size_t n = 0; n < v.size(); ++n) ASSERT_FLOAT_EQ(v[n], original[n]) << n;
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(SphereGl, UnknownWordsAndMissingFactorsChangeNothing)
{
    Sphere s;
    const std::vector<float> original = uploaded(s);
    testing::internal::CaptureStdout();
    local(s, "grow;3");
    local(s, "scale");
    local(s, "scale;");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "failed local: grow 3failed local: scale failed local: scale ");
    EXPECT_EQ(uploaded(s), original);
}

TEST_F(SphereGl, DrawsFromClientMemoryIndices)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 1280.0 / 720.0, 0.1, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    Demoeffect* e = createEffect("sphere");
    ASSERT_NE(e, nullptr);
    e->motion.point[2] = -5.0f;
    e->draw();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    glFinish();
    unsigned char centre[4] = {}, corner[4] = {};
    glReadPixels(640, 360, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, centre);
    glReadPixels(5, 5, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, corner);
    EXPECT_EQ(centre[0], 255);
    EXPECT_NEAR(centre[1], 128, 1);
    EXPECT_EQ(corner[0], 0);
    delete e;
}

TEST_F(SphereGl, WithoutProgramMainTheSphereIsStillBuilt)
{
    clearShaderLibrary();
    testing::internal::CaptureStdout();
    Sphere s;
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("main"), std::string::npos);
    EXPECT_EQ(s.shaderProgram, 0u);
    ASSERT_NE(s.vertexData, nullptr);
    EXPECT_FLOAT_EQ(s.vertexData[1], 1.0f);
    s.draw();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
