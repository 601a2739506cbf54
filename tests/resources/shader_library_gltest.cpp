// Shader library under a real context: stage caching and sharing, stage choice by name, empty stage
// names, missing and broken files, relinking a program name and reloading a stage.
#include <gtest/gtest.h>
#include <string>
#include "resources/ShaderLibrary.h"
#include "support/CaptureMessages.h"
#include "support/GlFixture.h"
#include "support/TempDir.h"

namespace {
const char* const kVertex = "#version 330 compatibility\nvoid main() { gl_Position = gl_Vertex; }\n";
const char* const kFragment = "#version 330 compatibility\nout vec4 c;\nvoid main() { c = vec4(1.0); }\n";
const char* const kBroken = "#version 330 compatibility\nvoid main() { this is not glsl; }\n";

// Every test starts with a good vertex stage v.vert and a good fragment stage f.frag.
class ShaderLibraryGl : public GlTest {
protected:
    ScopedWorkDir dir;

    ShaderLibraryGl()
    {
        writeStage("v.vert", kVertex);
        writeStage("f.frag", kFragment);
    }
    void writeStage(const std::string& name, const char* text) { dir.write("data/shaders/" + name, text); }

    // What linking printed.
    static std::string link(const char* name, const char* a, const char* b = "")
    {
        return capturedMessages([&] { linkShaderProgram(name, a, b, ""); });
    }
};
} // namespace

TEST_F(ShaderLibraryGl, ProgramsShareCachedStagesChosenByNameAndSkipEmptyNames)
{
    EXPECT_EQ(link("one", "v.vert", "f.frag"), "");
    writeStage("v.vert", kBroken); // read once: later programs still get the good stage
    EXPECT_EQ(link("two", "", "v.vert"), "");

    // ".vert" wins over ".frag" and ".frag" over ".geom" wherever they stand in the name; a wrong
    // stage would fail to compile or link. No known extension at all is reported every time.
    writeStage("a.frag.vert", kVertex);
    writeStage("b.geom.frag", kFragment);
    EXPECT_EQ(link("three", "a.frag.vert", "b.geom.frag"), "");
    writeStage("c.txt", kVertex);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(capturedMessages([] { EXPECT_EQ(findShaderSource("c.txt"), 0u); }),
                  "Tried to find a nonexistant shader source: c.txt\n");
    EXPECT_EQ(capturedMessages([] { EXPECT_EQ(findShaderProgram("never"), 0u); }),
              "Tried to find a nonexistant shader program: never\n");
}

// The failed link's message is checked end to end (tests/e2e/broken_assets.py).
TEST_F(ShaderLibraryGl, MissingFileCachesAnEmptyObjectButAFailedCompileIsRetried)
{
    link("m", "gone.vert", "f.frag");
    const GLuint empty = findShaderSource("gone.vert");
    EXPECT_NE(empty, 0u);
    writeStage("gone.vert", kVertex); // too late: the empty object stays cached
    EXPECT_EQ(findShaderSource("gone.vert"), empty);

    writeStage("bad.frag", kBroken);
    const GLuint before = glCreateShader(GL_FRAGMENT_SHADER); // GL names count up from here
    const std::string out = link("p", "v.vert", "bad.frag");
    for (GLuint n = before + 1; n < before + 8; ++n) // a stage that did not compile is not kept alive
        EXPECT_TRUE(!glIsShader(n) || n == findShaderSource("v.vert")) << n;
    glDeleteShader(before);
    EXPECT_EQ(out.rfind("Error compiling shader bad.frag\n", 0), 0u) << out;
    EXPECT_NE(out.find("Tried to find a nonexistant shader source: bad.frag\n"), std::string::npos) << out;
    writeStage("bad.frag", kFragment); // not cached, so the fixed file is picked up
    EXPECT_EQ(link("p", "v.vert", "bad.frag"), "");
}

TEST_F(ShaderLibraryGl, RelinkingAndReloadingKeepTheLastProgramThatWorkedAndReleaseOnlyReplacedOnes)
{
    link("p", "v.vert", "f.frag");
    const GLuint p = findShaderProgram("p");
    link("p", "v.vert", "f.frag");
    EXPECT_EQ(findShaderProgram("p"), p); // the same stages reuse the program
    link("q", "v.vert", "f.frag");
    const GLuint older = findShaderProgram("q");
    link("q", "v.vert"); // a name relinked from other stages: the older program stays alive
    const GLuint q = findShaderProgram("q");
    EXPECT_NE(q, older);
    EXPECT_TRUE(glIsProgram(older));
    EXPECT_FALSE(reloadShaderStage("never.frag"));
    for (const char* text : {kBroken, ""}) { // a broken file and one truncated by an editor's save
        writeStage("f.frag", text);
        bool reloaded = true;
        const std::string out = capturedMessages([&] { reloaded = reloadShaderStage("f.frag"); });
        EXPECT_FALSE(reloaded);
        EXPECT_EQ(out.rfind("Error compiling shader f.frag\n", 0), 0u) << out;
        EXPECT_EQ(findShaderProgram("p"), p);
        EXPECT_TRUE(glIsProgram(p));
    }
    // A stage that compiles but does not link (it calls a function nothing defines).
    writeStage("f.frag", "#version 330 compatibility\nout vec4 c;\nvec4 f();\nvoid main() { c = f(); }\n");
    EXPECT_NE(capturedMessages([] { reloadShaderStage("f.frag"); }).find("Error linking shader."), std::string::npos);
    EXPECT_EQ(findShaderProgram("p"), p);
    writeStage("f.frag", kFragment);
    EXPECT_TRUE(reloadShaderStage("f.frag"));
    EXPECT_NE(findShaderProgram("p"), p);
    EXPECT_FALSE(glIsProgram(p));         // the replaced program is released
    EXPECT_EQ(findShaderProgram("q"), q); // a program without the stage is left alone
}
