// Shader library: GLSL stage files under "data/shaders/" compiled once and cached by file name,
// programs linked from up to three stages and found by program name. GL objects are never deleted.
#pragma once
#include <string>
#include "resources/Gl.h"

void linkShaderProgram(std::string name, std::string stage1, std::string stage2, std::string stage3);
GLuint findShaderProgram(std::string name);
GLuint findShaderSource(std::string fileName);
GLuint loadShaderSource(std::string fileName);
// Forgets every cached stage, program and uniform location without GL calls (their context is gone).
void clearShaderLibrary();

// Locations of the uniforms the common effect draw sets (-1: the program has no such uniform).
struct EffectUniforms {
    GLint state = -1;
    GLint musicTime = -1;
};
// The locations in `program` (not 0), looked up by name the first time and kept; linking a program
// through linkShaderProgram looks them up afresh.
const EffectUniforms& effectUniforms(GLuint program);
