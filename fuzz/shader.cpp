// Fuzz target for shader stage files through the shader library. The first input byte picks the
// stage (its value modulo 3: vertex, fragment, geometry); the rest is written as the stage file
// "fuzz.vert", "fuzz.frag" or "fuzz.geom" in a scratch data/shaders/, and the program "fuzz" is linked
// from it and a fixed partner stage, then linked again to take the cached stage. Uniforms are looked
// up the way effects do. Runs under a hidden GL context (like the script target); without a display
// nothing is done. The working directory is the scratch directory only while an input runs, so give
// libFuzzer an absolute -artifact_prefix. After each input the caches are emptied and the GL objects
// it made are deleted, which the demo itself never does, so every input compiles afresh and memory
// stays bounded.
#include <unistd.h>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include "demo/ProcessState.h"
#include "GlObjects.h"
#include "resources/ShaderLibrary.h"
#include "shell/OffscreenContext.h"

namespace {
const char* const kPartnerVert =
    "#version 330 compatibility\nlayout(location = 0) in vec3 in_position;\n"
    "void main() { gl_Position = gl_ModelViewProjectionMatrix * vec4(in_position, 1.0); }\n";
const char* const kPartnerFrag =
    "#version 330 compatibility\nuniform int state;\nuniform float musictime;\nout vec4 colour;\n"
    "void main() { colour = vec4(float(state), musictime, 0.0, 1.0); }\n";

bool writeFile(const std::string& path, const char* data, size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(data, static_cast<std::streamsize>(size));
    return static_cast<bool>(out);
}

// The scratch directory with data/shaders/ and the two partner stages, made once; empty on failure.
const std::string& scratchDir()
{
    static char name[] = "/tmp/zemblar-fuzz-shader-XXXXXX"; // outlives the string, for the exit handler
    static const std::string dir = [] {
        if (!mkdtemp(name)) return std::string();
        const std::string root(name);
        const std::string shaders = root + "/data/shaders/";
        std::error_code error;
        if (!std::filesystem::create_directories(shaders, error)) return std::string();
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(name, ignored);
        });
        if (!writeFile(shaders + "partner.vert", kPartnerVert, std::char_traits<char>::length(kPartnerVert)) ||
            !writeFile(shaders + "partner.frag", kPartnerFrag, std::char_traits<char>::length(kPartnerFrag)))
            return std::string();
        std::fprintf(stderr, "shader fuzz scratch directory: %s\n", root.c_str());
        return root;
    }();
    return dir;
}

bool haveGl()
{
    static const bool ok = createOffscreenContext(64, 64);
    return ok;
}

void linkAndUse(const char* stage, const char* partner)
{
    linkShaderProgram("fuzz", stage, partner, "");
    linkShaderProgram("fuzz", partner, "", stage);
    const GLuint program = findShaderProgram("fuzz");
    if (program == 0) std::abort(); // a link, failed or not, always stores its program
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked == GL_TRUE) {
        glGetUniformLocation(program, "state");
        glGetUniformLocation(program, "musictime");
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0 || !haveGl() || scratchDir().empty()) return 0;
    static const char* const kStages[] = {"fuzz.vert", "fuzz.frag", "fuzz.geom"};
    const int which = data[0] % 3;
    const std::string path = scratchDir() + "/data/shaders/" + kStages[which];
    if (!writeFile(path, reinterpret_cast<const char*>(data + 1), size - 1)) return 0;

    char previous[4096];
    if (!getcwd(previous, sizeof previous) || chdir(scratchDir().c_str()) != 0) return 0;
    linkAndUse(kStages[which], which == 0 ? "partner.frag" : "partner.vert");
    resetProcessState();
    fuzzgl::deleteAllObjects();
    if (chdir(previous) != 0) std::abort();
    return 0;
}
