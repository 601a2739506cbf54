// A hidden window with an OpenGL 3.3 compatibility context (24-bit depth, 8-bit stencil, double
// buffered), for tools and tests that draw without showing anything.
#pragma once

// Creates the window and context, makes it current and initialises GLEW. Prints the reason and
// returns false on failure. Calling it again while a context exists makes that context current again.
bool createOffscreenContext(int width, int height);
// Releases the context and the window and shuts SDL down.
void destroyOffscreenContext();
