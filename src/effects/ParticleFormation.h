// The per-frame formation step of a particle system: places, scales and animates a list of child
// effects as a "town" grid or a "tube" of rings, with the animation modes none, sine, sinepulse,
// wonk, dinky and burn, and keeps the children's life flag. "spike" has no layout: its children
// keep what cloning and their own velocities give them. Needs no GL and allocates nothing.
#pragma once
#include <cstddef>
#include <cstdint>
#include "effects/Demoeffect.h"

enum FormationType : int32_t { FormationTown = 0, FormationTube = 1, FormationSpike = 2 };

enum AnimMode : int32_t {
    AnimNone = 1,
    AnimSine = 2,
    AnimSinePulse = 4,
    AnimWonk = 8,
    AnimDinky = 16,
    AnimBurn = 64,
};

// Child state bit of the particle system: children take its texture when they respawn.
constexpr int32_t kStateTextureOnRespawn = 32;

struct FormationSettings {
    int32_t countx;
    int32_t county;
    float padx;
    float pady;
    int32_t type;
    int32_t anim;
    int32_t state;    // the particle system's own state bits
    GLuint texture;   // the particle system's texture
    double startTime; // the particle system's start time (sinepulse)
};

// One step over `children[0 .. count)`; `time` is the demo clock and `delta` the frame length, both
// in seconds. Null entries are skipped. Burn draws from the shared random stream.
void stepFormation(const FormationSettings& settings, Demoeffect* const* children, size_t count, double time,
                   double delta);
