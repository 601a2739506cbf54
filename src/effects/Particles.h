// Particles: clones a template effect countx x county times on "init" and, in every update,
// lays the clones out as a formation (town, tube, spike) with an animation mode. Draws no geometry
// of its own. It owns the clones it made (shared with its own clones, destroyed once with the last
// of them); children appended by the script are not its to destroy.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>
#include "effects/Demoeffect.h"
#include "effects/ParticleFormation.h"

// The formation type ("town", "tube", "spike") and the animation mode named by a "type" or "anim"
// argument; false, setting nothing, for a word that names none (the demo drops it in silence).
bool particleTypeWord(const char* word, int32_t& type);
bool particleAnimWord(const char* word, int32_t& anim);

class Particles : public Demoeffect {
public:
    // Upper bound on the children one "init" makes, so a typo in "x" or "y" cannot exhaust memory.
    static constexpr int64_t kMaxChildren = 1000000;

    Particles() = default;
    Particles(const Particles&) = default;
    void update() override;
    void draw() override;
    Demoeffect* clone() override;
    void local(float time, char* argument) override;

    // Lays out the children for the current clock; needs no GL.
    void formationStep();

    int32_t countx = 10;
    int32_t county = 10;
    float padx = 2.0f;
    float pady = 2.0f;
    int32_t type = FormationTown;
    int32_t anim = AnimNone;
    uint8_t initialized = 0;

private:
    void init(const char* templateName);
    std::shared_ptr<std::vector<std::unique_ptr<Demoeffect>>> made_;
};
