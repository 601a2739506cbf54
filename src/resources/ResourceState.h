// The resources layer's process-wide state in one struct: the shader library's stages, programs and
// uniform locations and the texture library's textures, all GL names of the current context.
#pragma once
#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include "resources/Gl.h"
#include "resources/ShaderLibrary.h"

struct ResourceState {
    std::map<std::string, GLuint> shaderSources;         // stage file name -> shader object
    std::map<std::string, GLuint> shaderPrograms;        // program name -> program object
    std::unordered_map<GLuint, EffectUniforms> uniforms; // program object -> its effect uniforms
    std::map<std::string, GLuint> textures;              // name as asked for -> texture object
    std::set<std::string> textureNames;                  // every name asked for, loaded or not
};
ResourceState& resourceState();

// Forgets everything above without GL calls (the context that made it is gone).
void resetResourceState();
