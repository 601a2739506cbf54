// The effects layer's process-wide state in one struct: the clocks the frame driver writes once at
// the start of each frame and the effects read while updating and drawing, and the GL binding the
// draws share.
#pragma once
#include "resources/Gl.h"

struct EffectsState {
    double musicTime = 0.0;  // demo clock in seconds: the music position, or the wall clock without music
    double frameDelta = 0.0; // wall-clock length of the last frame, seconds
    double wallTime = 0.0;   // seconds since the Demo was built
    GLuint boundProgram = 0; // program last bound by an effect's draw; 0 when none
    int drawDepth = 0;       // nesting of the child draws in progress
    int updateDepth = 0;     // nesting of the child updates in progress
};
extern EffectsState g_effects;

// Puts the layer back as a fresh process has it: the state above, the effect registry emptied (the
// effect objects themselves are left alone) and the random stream reseeded.
void resetEffectsState();
