// Process-wide state of the layers under the shell: each layer keeps its state in one struct with
// its own reset (ResourceState.h, effects/Globals.h). This is the one reset of them all, called by
// the restart (the state holds GL names of the context that went away), the GL test fixture and the
// fuzz targets, so each starts from the same state as a fresh process.
#pragma once

// Empties the resource libraries (without GL calls: their context is gone), the effect registry and
// the clocks and bound program, and reseeds the random stream. The effect objects are left alone.
void resetProcessState();
