// The one GL context set-up shared by the demo window and the hidden offscreen window: the context
// attributes and GLEW's initialisation with the error it may report without meaning it.
#pragma once

// Requests an OpenGL 3.3 compatibility context with 8-bit red, green and blue, no alpha, 24-bit
// depth, 8-bit stencil, double buffered and not sharing objects. Call before creating the window.
void setGlContextAttributes();
// Initialises GLEW on the current context and clears the error flag glewInit may leave behind.
// Returns null on success, otherwise GLEW's description of the failure.
const char* initGlew();
