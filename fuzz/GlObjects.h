// Releases the GL objects one fuzz input made (programs, shaders, textures, buffers, vertex arrays),
// which the demo itself never does, so that memory stays bounded over millions of inputs. Names are
// found by walking every name from 1 up to the highest one ever handed out in this process; the
// fuzz targets make no GL object that must outlive an input. Needs a current GL context.
#pragma once
#include <algorithm>
#include "resources/Gl.h"

namespace fuzzgl {
// A fresh name of every kind; the highest of them bounds the names in use.
inline GLuint probeHighestName()
{
    static GLuint highest = 0;
    const GLuint program = glCreateProgram();
    GLuint texture = 0, buffer = 0, vertexArray = 0;
    glGenTextures(1, &texture);
    glGenBuffers(1, &buffer);
    glGenVertexArrays(1, &vertexArray);
    highest = std::max({highest, program, texture, buffer, vertexArray});
    glDeleteProgram(program);
    glDeleteTextures(1, &texture);
    glDeleteBuffers(1, &buffer);
    glDeleteVertexArrays(1, &vertexArray);
    return highest;
}

inline void deleteAllObjects()
{
    glUseProgram(0);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindTexture(GL_TEXTURE_2D, 0);
    const GLuint last = probeHighestName();
    for (GLuint name = 1; name <= last; ++name) {
        if (glIsProgram(name))
            glDeleteProgram(name);
        else if (glIsShader(name))
            glDeleteShader(name);
        if (glIsTexture(name)) glDeleteTextures(1, &name);
        if (glIsBuffer(name)) glDeleteBuffers(1, &name);
        if (glIsVertexArray(name)) glDeleteVertexArrays(1, &name);
    }
    while (glGetError() != GL_NO_ERROR) {}
}
} // namespace fuzzgl
