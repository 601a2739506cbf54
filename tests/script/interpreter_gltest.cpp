// Command interpreter rows that reach the GL through the resource libraries and the effect
// constructors: "SHADER", "shader", "texture" and "new" for every type word.
#include <gtest/gtest.h>
#include <typeinfo>
#include "effects/EffectRegistry.h"
#include "resources/ShaderLibrary.h"
#include "support/GlFixture.h"
#include "support/ScriptRunner.h"
#include "support/TempDir.h"

namespace {
const char* const kVertex = "#version 330 compatibility\nin vec3 in_position;\n"
                            "void main() { gl_Position = vec4(in_position, 1.0); }\n";
const char* const kFragment = "#version 330 compatibility\nuniform int state;\nout vec4 color;\n"
                              "void main() { color = vec4(float(state)); }\n";

class InterpreterGl : public GlTest {
protected:
    ScopedWorkDir dir;
    ScriptRunner script;
};
} // namespace

TEST_F(InterpreterGl, ShaderLinksByInstanceWordShaderAndTextureAssign)
{
    dir.write("data/shaders/flat.vert", kVertex);
    dir.write("data/shaders/flat.frag", kFragment);
    EXPECT_EQ(script.output("-1 flat SHADER flat.vert,flat.frag,"), "");
    const GLuint program = findShaderProgram("flat");
    ASSERT_NE(program, 0u);

    script.run("1 a new demoeffect");
    script.run("1 a shader flat");
    EXPECT_EQ(EffectRegistry::findOrAdd("a")->shaderProgram, program);
    EXPECT_EQ(script.output("1 a shader nosuch"), "Tried to find a nonexistant shader program: nosuch\n");
    EXPECT_EQ(EffectRegistry::findOrAdd("a")->shaderProgram, 0u);
    // Likewise a texture of a missing file leaves none.
    EffectRegistry::findOrAdd("a")->texture = 77;
    script.run("1 a texture nosuch.png");
    EXPECT_EQ(EffectRegistry::findOrAdd("a")->texture, 0u);
}

// A clone is of its original's type (a missing clone override would cut it down to the base).
TEST_F(InterpreterGl, CloneKeepsTheType)
{
    for (const char* type : {"demoeffect", "camera", "model", "sphere", "text", "particles", "image"}) {
        script.run(std::string("-1 e new ") + type);
        script.run("-1 copy clone e");
        Demoeffect *e = EffectRegistry::findOrAdd("e"), *copy = EffectRegistry::findOrAdd("copy");
        ASSERT_TRUE(e && copy && e != copy) << type;
        EXPECT_EQ(typeid(*copy), typeid(*e)) << type;
    }
}
