// Shader library under a real context: stage caching and sharing, stage choice by name, empty stage
// names, missing and broken files, relinking a program name.
#include <gtest/gtest.h>
#include <cstdio>
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

    template <typename F>
    std::string captured(F&& action) { return capturedStdout(action); }

    static std::vector<GLuint> attached(GLuint program)
    {
        GLuint names[8] = {};
        GLsizei count = 0;
        glGetAttachedShaders(program, 8, &count, names);
        return std::vector<GLuint>(names, names + count);
    }

    static bool linked(GLuint program)
    {
        GLint status = GL_FALSE;
        glGetProgramiv(program, GL_LINK_STATUS, &status);
        return status == GL_TRUE;
    }

    static GLint stageType(GLuint shader)
    {
        GLint type = 0;
        glGetShaderiv(shader, GL_SHADER_TYPE, &type);
        return type;
    }
};
} // namespace

TEST_F(ShaderLibraryGl, ProgramsShareCachedStagesAndEmptyNamesAreSkipped)
{
    writeStage("plain.vert", kVertex);
    writeStage("plain.frag", kFragment);
    EXPECT_EQ(captured([] { linkShaderProgram("one", "plain.vert", "plain.frag", ""); }), "");
    // The file is read once: breaking it now changes nothing for later programs.
    writeStage("plain.vert", kBroken);
    EXPECT_EQ(captured([] { linkShaderProgram("two", "", "plain.vert", ""); }), "");
    const GLuint one = findShaderProgram("one");
    const GLuint two = findShaderProgram("two");
    EXPECT_TRUE(linked(one));
    EXPECT_TRUE(linked(two));
    const std::vector<GLuint> twoStages = attached(two);
    ASSERT_EQ(twoStages.size(), 1u);
    EXPECT_EQ(twoStages[0], findShaderSource("plain.vert"));
    EXPECT_EQ(attached(one).size(), 2u);

    captured([] { linkShaderProgram("none", "", "", ""); });
    const GLuint none = findShaderProgram("none");
    EXPECT_NE(none, 0u);
    EXPECT_TRUE(glIsProgram(none));
    EXPECT_TRUE(attached(none).empty());
}

TEST_F(ShaderLibraryGl, StageIsChosenByTheFirstKnownExtensionInOrder)
{
    writeStage("a.frag.vert", kVertex);
    writeStage("b.geom.frag", kFragment);
    EXPECT_EQ(stageType(findShaderSource("a.frag.vert")), GL_VERTEX_SHADER);
    EXPECT_EQ(stageType(findShaderSource("b.geom.frag")), GL_FRAGMENT_SHADER);
    writeStage("c.txt", kVertex);
    for (int i = 0; i < 2; ++i) {
        GLuint result = 1;
        EXPECT_EQ(captured([&] { result = findShaderSource("c.txt"); }),
                  "Tried to find a nonexistant shader source: c.txt\n");
        EXPECT_EQ(result, 0u);
    }
}

TEST_F(ShaderLibraryGl, MissingFileCachesAnEmptyObjectThatNeverLinks)
{
    writeStage("ok.frag", kFragment);
    const std::string out = captured([] { linkShaderProgram("m", "gone.vert", "ok.frag", ""); });
    EXPECT_EQ(out.rfind("Error linking shader.\n", 0), 0u) << out;
    const GLuint empty = findShaderSource("gone.vert");
    EXPECT_NE(empty, 0u);
    EXPECT_FALSE(linked(findShaderProgram("m")));
    // Adding the file later does not help: the empty object stays cached.
    writeStage("gone.vert", kVertex);
    EXPECT_EQ(findShaderSource("gone.vert"), empty);
    const std::string again = captured([] { linkShaderProgram("m", "gone.vert", "ok.frag", ""); });
    EXPECT_EQ(again.rfind("Error linking shader.\n", 0), 0u) << again;
}

TEST_F(ShaderLibraryGl, FailedCompileIsRetriedAndReportedEachTime)
{
    writeStage("v.vert", kVertex);
    writeStage("bad.frag", kBroken);
    for (int i = 0; i < 2; ++i) {
        const std::string out = captured([] { linkShaderProgram("p", "v.vert", "bad.frag", ""); });
        EXPECT_EQ(out.rfind("Error compiling shader bad.frag\n", 0), 0u) << out;
        EXPECT_NE(out.find("Tried to find a nonexistant shader source: bad.frag\n"), std::string::npos) << out;
        EXPECT_EQ(attached(findShaderProgram("p")).size(), 1u);
    }
    // Not cached, so fixing the file is picked up by the next program.
    writeStage("bad.frag", kFragment);
    EXPECT_EQ(captured([] { linkShaderProgram("p", "v.vert", "bad.frag", ""); }), "");
    EXPECT_TRUE(linked(findShaderProgram("p")));
}

TEST_F(ShaderLibraryGl, RelinkingANameKeepsTheOlderProgramAlive)
{
    writeStage("v.vert", kVertex);
    linkShaderProgram("p", "v.vert", "", "");
    const GLuint first = findShaderProgram("p");
    linkShaderProgram("p", "v.vert", "", "");
    const GLuint second = findShaderProgram("p");
    EXPECT_NE(first, second);
    EXPECT_TRUE(glIsProgram(first));
    EXPECT_TRUE(linked(first));
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(captured([] { EXPECT_EQ(findShaderProgram("never"), 0u); }),
                  "Tried to find a nonexistant shader program: never\n");
}
