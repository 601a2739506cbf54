// Shader library under a real context: stage caching and sharing, stage choice by name, empty stage
// names, missing and broken files, relinking a program name.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "resources/ShaderLibrary.h"
#include "support/CaptureStdout.h"
#include "support/GlFixture.h"
#include "support/TempDir.h"

namespace {
const char* const kVertex = "#version 330 compatibility\nvoid main() { gl_Position = gl_Vertex; }\n";
const char* const kFragment = "#version 330 compatibility\nout vec4 c;\nvoid main() { c = vec4(1.0); }\n";
const char* const kBroken = "#version 330 compatibility\nvoid main() { this is not glsl; }\n";

class ShaderLibraryGl : public GlTest {
protected:
    ScopedWorkDir dir;
    void writeStage(const std::string& name, const char* text) { dir.write("data/shaders/" + name, text); }
    static std::string link(const char* name, const char* a, const char* b = "") // what linking printed
    {
        return capturedStdout([&] { linkShaderProgram(name, a, b, ""); });
    }
    static std::vector<GLuint> attached(const char* program)
    {
        GLuint names[8] = {};
        GLsizei count = 0;
        glGetAttachedShaders(findShaderProgram(program), 8, &count, names);
        return std::vector<GLuint>(names, names + count);
    }
};
} // namespace

TEST_F(ShaderLibraryGl, ProgramsShareCachedStagesChosenByNameSkipEmptyNamesAndRelink)
{
    writeStage("plain.vert", kVertex);
    writeStage("plain.frag", kFragment);
    EXPECT_EQ(link("one", "plain.vert", "plain.frag"), "");
    writeStage("plain.vert", kBroken);  // read once: later programs still get the good stage
    EXPECT_EQ(link("two", "", "plain.vert"), "");
    EXPECT_EQ(attached("two"), std::vector<GLuint>{findShaderSource("plain.vert")});
    // ".vert" wins over ".frag" and ".frag" over ".geom" wherever they stand in the name; a wrong
    // stage would fail to compile or link. No known extension at all is reported every time.
    writeStage("a.frag.vert", kVertex);
    writeStage("b.geom.frag", kFragment);
    EXPECT_EQ(link("three", "a.frag.vert", "b.geom.frag"), "");
    writeStage("c.txt", kVertex);
    EXPECT_EQ(capturedStdout([] { EXPECT_EQ(findShaderSource("c.txt"), 0u); }),
              "Tried to find a nonexistant shader source: c.txt\n");
    // Relinking a name keeps the older program alive.
    const GLuint first = findShaderProgram("one");
    link("one", "plain.vert");
    EXPECT_NE(findShaderProgram("one"), first);
    EXPECT_TRUE(glIsProgram(first));
}

TEST_F(ShaderLibraryGl, MissingFileCachesAnEmptyObjectButAFailedCompileIsRetried)
{
    writeStage("ok.frag", kFragment);
    EXPECT_EQ(link("m", "gone.vert", "ok.frag").rfind("Error linking shader.\n", 0), 0u);
    const GLuint empty = findShaderSource("gone.vert");
    EXPECT_NE(empty, 0u);
    writeStage("gone.vert", kVertex);  // too late: the empty object stays cached
    EXPECT_EQ(findShaderSource("gone.vert"), empty);
    writeStage("v.vert", kVertex);
    writeStage("bad.frag", kBroken);
    const std::string out = link("p", "v.vert", "bad.frag");
    EXPECT_EQ(out.rfind("Error compiling shader bad.frag\n", 0), 0u) << out;
    EXPECT_NE(out.find("Tried to find a nonexistant shader source: bad.frag\n"), std::string::npos) << out;
    EXPECT_EQ(attached("p").size(), 1u);
    writeStage("bad.frag", kFragment);  // not cached, so the fixed file is picked up
    EXPECT_EQ(link("p", "v.vert", "bad.frag"), "");
}
