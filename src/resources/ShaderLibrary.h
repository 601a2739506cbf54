// Shader library: GLSL stage files under "data/shaders/" compiled once and cached by file name,
// programs linked from up to three stages and found by program name. GL objects are never deleted.
#pragma once
#include <string>
#include <vector>
#include "resources/Gl.h"

void linkShaderProgram(std::string name, std::string stage1, std::string stage2, std::string stage3);
GLuint findShaderProgram(std::string name);
GLuint findShaderSource(std::string fileName);
GLuint loadShaderSource(std::string fileName);
// Compiles a cached stage file again and relinks every program that uses it. A stage that does not
// compile (the log is printed) or cannot be read keeps the one that last compiled; a program whose
// relink fails keeps the one that last linked. False when nothing was replaced or the file is not
// a cached stage.
bool reloadShaderStage(const std::string& fileName);
// The file names of the cached stages.
std::vector<std::string> cachedShaderStages();
// The stage file names of every program linked since the library was cleared, whether they
// compiled or not.
std::vector<std::string> namedShaderStages();
// Forgets every cached stage, program and uniform location without GL calls (their context is gone).
void clearShaderLibrary();

// Locations of the uniforms the common effect draw sets (-1: the program has no such uniform).
struct EffectUniforms {
    GLint state = -1;
    GLint musicTime = -1;
    GLint glyphCells = -1; // "glyphcells": cells per side of the font atlas while a text draws glyphs
};
// The locations in `program` (not 0), looked up by name the first time and kept; linking a program
// through linkShaderProgram looks them up afresh.
const EffectUniforms& effectUniforms(GLuint program);
