// The offline renderer: plays data/ through the Demo with a frame clock at a fixed rate, draws
// every frame into an offscreen framebuffer of the chosen size in a hidden window, and writes the
// frames of the planned range as PNG files or into an ffmpeg video with the music. No start
// question, no audio device. The live demo's shell is not involved.
#pragma once
#include "render/RenderOptions.h"

// Renders as the options say. Returns the process exit status: 0 when every planned frame was
// written (a script END ends the range early and cleanly), 2 when the driver cannot render the
// size or sample count or there are more jobs than frames (nothing is written then), 1 on any
// other failure.
int runOfflineRender(const RenderOptions& options);
