// Clock and GL-binding globals shared by the frame driver (which writes the clocks once at the start
// of each frame) and the effects (which read them while updating and drawing).
#pragma once
#include "resources/Gl.h"

extern double g_musicTime;   // demo clock in seconds: the music position, or the wall clock without music
extern double g_frameDelta;  // wall-clock length of the last frame, seconds
extern double g_wallTime;    // seconds since the Demo was built
extern GLuint g_boundProgram; // program last bound by an effect's draw; 0 when none
