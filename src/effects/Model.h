// Model effect: a triangle mesh loaded from an OBJ file by the per-type command "loadobj" and
// drawn from its vertex buffer with indices read from client memory. Draws nothing until loaded.
#pragma once
#include <cstdint>
#include <vector>
#include "effects/Demoeffect.h"
#include "resources/ObjParse.h"

class Model : public Demoeffect {
public:
    Model();
    Model(const Model&) = default;
    void update() override;
    void draw() override;
    Demoeffect* clone() override;
    // "loadobj;FILE" loads the mesh; any other word prints "failed local: WORD ARG".
    void local(float time, char* argument) override;

    std::vector<uint32_t> indices; // three per triangle, read by every draw
    uint8_t loaded;
};
