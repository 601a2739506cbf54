// The one include for OpenGL: GLEW's entry points (the projection and view matrices are in
// GlMatrix.h).
#pragma once
#include <GL/glew.h>
