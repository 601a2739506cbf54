// The one include for OpenGL: GLEW's entry points, then GLU (perspective, look-at).
#pragma once
#include <GL/glew.h>
#include <GL/glu.h>
