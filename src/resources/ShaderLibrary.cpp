// Shader library. The stage is chosen by ".vert", ".frag" or ".geom" anywhere in the path (in that
// order of preference). A stage file that cannot be opened is cached as an empty shader object, so
// the failure shows as a failed link; a stage that fails to compile is not cached and is compiled
// (and reported) again by every later program that names it.
#include "resources/ShaderLibrary.h"
#include <algorithm>
#include <limits>
#include <map>
#include <set>
#include <unordered_map>
#include <vector>
#include "resources/FileBytes.h"
#include "resources/Messages.h"
#include "resources/ResourceState.h"

namespace {
std::map<std::string, GLuint>& shaderSources()
{
    return resourceState().shaderSources;
}

std::map<std::string, GLuint>& shaderPrograms()
{
    return resourceState().shaderPrograms;
}

std::unordered_map<GLuint, EffectUniforms>& uniformLocations()
{
    return resourceState().uniforms;
}

EffectUniforms& lookUpUniforms(GLuint program)
{
    EffectUniforms& u = uniformLocations()[program];
    u.state = glGetUniformLocation(program, "state");
    u.musicTime = glGetUniformLocation(program, "musictime");
    u.glyphCells = glGetUniformLocation(program, "glyphcells");
    return u;
}

// How each program was linked: its stage files, whether the link succeeded, and whether every
// named stage was in it (a stage that did not compile is left out).
struct Recipe {
    std::string stages[3];
    bool linked = false;
    bool whole = false;
};

std::map<std::string, Recipe>& recipes()
{
    static std::map<std::string, Recipe> map;
    return map;
}

GLenum stageOf(const std::string& path)
{
    if (path.find(".vert") != std::string::npos) return GL_VERTEX_SHADER;
    if (path.find(".frag") != std::string::npos) return GL_FRAGMENT_SHADER;
    if (path.find(".geom") != std::string::npos) return GL_GEOMETRY_SHADER;
    return 0;
}

// The info log of a shader or program, through the matching pair of GL queries.
template <typename GetParameter, typename GetLog>
std::string infoLog(GLuint object, GetParameter getParameter, GetLog getLog)
{
    GLint length = 0;
    getParameter(object, GL_INFO_LOG_LENGTH, &length);
    std::vector<char> log(static_cast<size_t>(length > 0 ? length : 1), '\0');
    getLog(object, static_cast<GLsizei>(log.size()), nullptr, log.data());
    return std::string(log.data());
}

std::string shaderLog(GLuint shader)
{
    return infoLog(shader, glGetShaderiv, glGetShaderInfoLog);
}

std::string programLog(GLuint program)
{
    return infoLog(program, glGetProgramiv, glGetProgramInfoLog);
}
} // namespace

GLuint loadShaderSource(std::string fileName)
{
    const std::string path = "data/shaders/" + fileName;
    const GLenum stage = stageOf(path);
    if (stage == 0) return 0;
    const GLuint shader = glCreateShader(stage);
    std::vector<uint8_t> text;
    // The GL takes the length as a 32-bit signed count, so a longer file counts as not readable.
    if (!readWholeFile(path, text, static_cast<uint64_t>(std::numeric_limits<GLint>::max()))) {
        shaderSources()[fileName] = shader;
        return shader;
    }
    const GLchar* source = text.empty() ? "" : reinterpret_cast<const GLchar*>(text.data());
    const GLint length = static_cast<GLint>(text.size());
    glShaderSource(shader, 1, &source, &length);
    glCompileShader(shader);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled == GL_TRUE) {
        shaderSources()[fileName] = shader;
        return shader;
    }
    // One message with its log, so that the editor's once-only printing keeps them together.
    printMessage("Error compiling shader %s\n%s\n", fileName.c_str(), shaderLog(shader).c_str());
    flushMessages();
    glDeleteShader(shader); // not cached: it is compiled afresh at the next request
    return 0;
}

GLuint findShaderSource(std::string fileName)
{
    auto it = shaderSources().find(fileName);
    if (it != shaderSources().end()) return it->second;
    const GLuint shader = loadShaderSource(fileName);
    if (shader == 0) {
        printMessage("Tried to find a nonexistant shader source: %s\n", fileName.c_str());
        flushMessages();
    }
    return shader;
}

namespace {
// A new program from the recipe's stage files, which it marks linked and whole or not; the link log
// is printed when the link fails.
GLuint linkStages(Recipe& recipe)
{
    const GLuint program = glCreateProgram();
    recipe.whole = true;
    for (const std::string& stage : recipe.stages) {
        if (stage.empty()) continue;
        // A stage that could not be made (0) is left out: attaching 0 would only raise a GL error,
        // the program ends up without that stage either way.
        const GLuint shader = findShaderSource(stage);
        if (shader != 0) glAttachShader(program, shader);
        recipe.whole = recipe.whole && shader != 0;
    }
    glLinkProgram(program);
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE) {
        printMessage("Error linking shader.\n%s\n", programLog(program).c_str());
        flushMessages();
    }
    lookUpUniforms(program);
    recipe.linked = linked == GL_TRUE;
    return program;
}
} // namespace

// A program that linked before from the same stage files, all of them compiled and cached and in it,
// is used again rather than linked anew, so a demo rebuilt in the same context reuses its programs.
// One linked without a stage that did not compile then is linked anew.
void linkShaderProgram(std::string name, std::string stage1, std::string stage2, std::string stage3)
{
    Recipe recipe;
    recipe.stages[0] = stage1;
    recipe.stages[1] = stage2;
    recipe.stages[2] = stage3;
    auto known = recipes().find(name);
    if (known != recipes().end() && known->second.linked && known->second.whole && shaderPrograms().count(name) &&
        std::equal(recipe.stages, recipe.stages + 3, known->second.stages) &&
        std::all_of(recipe.stages, recipe.stages + 3,
                    [](const std::string& s) { return s.empty() || shaderSources().count(s) != 0; }))
        return;
    shaderPrograms()[name] = linkStages(recipe);
    recipes()[name] = recipe;
}

bool reloadShaderStage(const std::string& fileName)
{
    auto old = shaderSources().find(fileName);
    if (old == shaderSources().end()) return false;
    std::vector<uint8_t> text;
    if (!readWholeFile("data/shaders/" + fileName, text)) return false; // being written: keep the old
    const GLuint previous = old->second;
    shaderSources().erase(old);
    if (loadShaderSource(fileName) == 0) { // reported; the stage that last compiled stays
        shaderSources()[fileName] = previous;
        return false;
    }
    for (auto& [name, recipe] : recipes()) {
        if (std::find(recipe.stages, recipe.stages + 3, fileName) == recipe.stages + 3) continue;
        Recipe relinked = recipe;
        const GLuint program = linkStages(relinked);
        if (!relinked.linked && recipe.linked) { // the program that last worked stays
            glDeleteProgram(program);
            continue;
        }
        glDeleteProgram(shaderPrograms()[name]);
        shaderPrograms()[name] = program;
        recipe = relinked;
    }
    glDeleteShader(previous);
    return true;
}

std::vector<std::string> cachedShaderStages()
{
    std::vector<std::string> names;
    for (const auto& entry : shaderSources()) names.push_back(entry.first);
    return names;
}

std::vector<std::string> namedShaderStages()
{
    std::set<std::string> names;
    for (const auto& entry : recipes())
        for (const std::string& stage : entry.second.stages)
            if (!stage.empty()) names.insert(stage);
    return std::vector<std::string>(names.begin(), names.end());
}

GLuint findShaderProgram(std::string name)
{
    auto it = shaderPrograms().find(name);
    if (it != shaderPrograms().end()) return it->second;
    printMessage("Tried to find a nonexistant shader program: %s\n", name.c_str());
    flushMessages();
    return 0;
}

void clearShaderLibrary()
{
    shaderSources().clear();
    shaderPrograms().clear();
    recipes().clear();
    uniformLocations().clear();
}

const EffectUniforms& effectUniforms(GLuint program)
{
    const auto it = uniformLocations().find(program);
    if (it != uniformLocations().end()) return it->second;
    return lookUpUniforms(program);
}
