// Command interpreter rows that reach the GL through the resource libraries and the effect
// constructors: "shader", "texture", and "clone" for every type word.
#include <gtest/gtest.h>
#include <typeinfo>
#include "effects/EffectRegistry.h"
#include "support/GlFixture.h"
#include "support/ScriptRunner.h"
#include "support/TempDir.h"

struct InterpreterGl : GlTest {
    ScopedWorkDir dir;
    ScriptRunner script;
};

// "SHADER" and an assignment that works show in the golden frames.
TEST_F(InterpreterGl, ShaderAndTextureOfAMissingNameLeaveNone)
{
    script.run("1 a new demoeffect");
    Demoeffect* a = EffectRegistry::findOrAdd("a");
    a->shaderProgram = a->texture = 77;
    EXPECT_EQ(script.output("1 a shader nosuch"), "Tried to find a nonexistant shader program: nosuch\n");
    script.run("1 a texture nosuch.png");
    EXPECT_EQ(a->shaderProgram, 0u);
    EXPECT_EQ(a->texture, 0u);
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
