// Sphere: mesh generation, upload, strip draw and the "scale" command.
#include "effects/Sphere.h"
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include "effects/Globals.h"
#include "resources/Messages.h"
#include "resources/Numbers.h"
#include "resources/ShaderLibrary.h"

namespace {
constexpr int kFloatsPerVertex = 8;
} // namespace

struct Sphere::Mesh {
    float* vertices = nullptr;
    uint16_t* indices = nullptr;
    ~Mesh()
    {
        std::free(vertices);
        std::free(indices);
    }
};

void buildSphereMesh(float* vertices, uint16_t* indices)
{
    const int rings = Sphere::kRings;
    const int segments = Sphere::kSegments;
    const double ringStep = kPi / (rings - 1);
    const double segmentStep = 2.0 * kPi / (segments - 1);
    for (int i = 0; i < rings; ++i) {
        const double theta = i * ringStep;
        const float y = static_cast<float>(std::cos(theta));
        for (int j = 0; j < segments; ++j) {
            const double phi = j * segmentStep;
            float* v = vertices + (i * segments + j) * kFloatsPerVertex;
            v[0] = v[3] = static_cast<float>(std::sin(phi) * std::sin(theta));
            v[1] = v[4] = y;
            v[2] = v[5] = static_cast<float>(std::cos(phi) * std::sin(theta));
            v[6] = static_cast<float>(static_cast<double>(j) / (segments - 1));
            v[7] = static_cast<float>(1.0 - static_cast<double>(i) / (rings - 1));
        }
    }
    // Pairs (n, n + segments): one strip that runs from each band straight into the next.
    for (int k = 0; k < Sphere::kIndexCount; k += 2) {
        indices[k] = static_cast<uint16_t>(k / 2);
        indices[k + 1] = static_cast<uint16_t>(k / 2 + segments);
    }
}

Sphere::Sphere()
{
    shaderProgram = findShaderProgram("main");
    texture = 0;
    texture2 = 0;
    if (shaderProgram != g_effects.boundProgram) {
        glUseProgram(shaderProgram);
        g_effects.boundProgram = shaderProgram;
    }
    rings = kRings;
    segments = kSegments;
    mesh_ = std::make_shared<Mesh>();
    mesh_->vertices = static_cast<float*>(std::calloc(kVertexCount * kFloatsPerVertex, sizeof(float)));
    mesh_->indices = static_cast<uint16_t*>(std::malloc(kIndexCount * sizeof(uint16_t)));
    if (!mesh_->vertices || !mesh_->indices) {
        printMessage("sphere: out of memory for the mesh\n");
        mesh_.reset();
        return;
    }
    buildSphereMesh(mesh_->vertices, mesh_->indices);
    vertexData = mesh_->vertices;
    indexData = mesh_->indices;
    setupVertexLayout();
    glBufferData(GL_ARRAY_BUFFER, kVertexBytes, vertexData, GL_STATIC_DRAW);
}

Demoeffect* Sphere::clone()
{
    return new (std::nothrow) Sphere(*this);
}

void Sphere::draw()
{
    Demoeffect::draw();
    if (!indexData) return;
    // No element buffer is bound to this vertex array, so the indices come from client memory.
    glBindVertexArray(vao);
    glDrawElements(GL_TRIANGLE_STRIP, kIndexCount, GL_UNSIGNED_SHORT, indexData);
}

void Sphere::scaleMesh(float factor)
{
    for (int n = 0; n < kVertexCount; ++n) {
        float* position = vertexData + n * kFloatsPerVertex;
        position[0] *= factor;
        position[1] *= factor;
        position[2] *= factor;
    }
    glBindVertexArray(vao);
    glBindBuffer(GL_ARRAY_BUFFER, vbo);
    glBufferData(GL_ARRAY_BUFFER, kVertexBytes, vertexData, GL_STATIC_DRAW);
    glBindVertexArray(0);
}

void Sphere::local(float, char* argument)
{
    const LocalArgs args = splitLocal(argument);
    // "scale" needs a factor: without one the mesh would collapse to a point for good.
    if (std::strcmp(args.word, "scale") == 0 && args.args[0][0] != '\0') {
        if (vertexData) scaleMesh(static_cast<float>(std::atof(args.args[0])));
        return;
    }
    reportFailedLocal(args);
}
