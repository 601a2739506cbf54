// The offline renderer: plays data/ through the Demo with a frame clock at a fixed rate, draws
// every frame into an offscreen 1280 x 720 framebuffer of a hidden window, and writes the frames
// of the planned range as PNG files or into an ffmpeg video with the music. No start question, no
// audio device. The live demo's shell is not involved.
#pragma once
#include "render/RenderOptions.h"

// Renders as the options say. Returns the process exit status: 0 when every planned frame was
// written (a script END ends the range early and cleanly), 1 on any failure.
int runOfflineRender(const RenderOptions& options);
