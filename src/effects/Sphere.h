// Sphere: a UV sphere of radius 1 (20 rings of 40 vertices, poles and a closed texture seam) drawn
// with the program "main" as one 16-bit triangle strip read from client memory. The per-type
// command "scale" multiplies the mesh positions in place and re-uploads them. Clones share the
// mesh, its buffer and vertex array; the arrays are freed once, when the last sharer goes.
#pragma once
#include <cstdint>
#include <memory>
#include "effects/Demoeffect.h"

class Sphere : public Demoeffect {
public:
    static constexpr int kRings = 20;
    static constexpr int kSegments = 40;
    static constexpr int kVertexCount = kRings * kSegments;          // 800
    static constexpr int kVertexBytes = kVertexCount * 8 * 4;        // 25600
    static constexpr int kIndexCount = (kRings - 1) * kSegments * 2; // 1520

    Sphere();
    Sphere(const Sphere&) = default;
    void draw() override;
    Demoeffect* clone() override;
    void local(float time, char* argument) override;

    int32_t rings = 0;
    int32_t segments = 0;

private:
    struct Mesh; // the malloc'd vertex and index arrays, shared by a sphere and its clones
    void scaleMesh(float factor);
    std::shared_ptr<Mesh> mesh_;
};

// Fills `vertices` (kVertexCount x 8 floats: position, normal, u, v) and `indices` (kIndexCount).
void buildSphereMesh(float* vertices, uint16_t* indices);
