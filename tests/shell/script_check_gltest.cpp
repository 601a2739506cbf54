// zemblar --check on per-type words: which words a type takes is the type's own business. Effect
// types made here (bound by name before the run, as the factory only knows the shipped ones) are
// judged by their own handlers, exactly like the shipped types.
#include <gtest/gtest.h>
#include <cstring>
#include "effects/EffectRegistry.h"
#include "shell/ScriptCheck.h"
#include "support/TempDir.h"

namespace {
// A type with one per-type word of its own, reporting the others as the README says to.
class Knob : public Demoeffect {
public:
    void local(float, char* argument) override
    {
        const LocalArgs args = splitLocal(argument);
        if (std::strcmp(args.word, "turn") != 0) reportFailedLocal(args);
    }
};
// A type without per-type words: it keeps the base handler.
class Plain : public Demoeffect {};

TEST(ScriptCheck, PerTypeWordsAreJudgedByTheEffectsType)
{
    ScopedWorkDir dir;
    dir.write("check.txt", "-1 knob local turn;3\n"
                           "-1 knob local spin;1\n"
                           "-1 plain local turn;3\n"
                           "-1 p new particles\n"
                           "-1 p local anim;sinepulse\n"
                           "-1 p local type;spike\n"
                           "-1 p local anim;spin\n"
                           "-1 pic new image\n"
                           "-1 pic local turn;1\n");
    Knob knob;
    Plain plain;
    EffectRegistry::findOrAdd("knob") = &knob;
    EffectRegistry::findOrAdd("plain") = &plain;
    testing::internal::CaptureStdout();
    const int status = runScriptCheck("check.txt");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "2: failed local: spin 1\n"
                                                      "3: unknown local word turn: plain takes no local commands\n"
                                                      "7: unknown particle animation spin\n"
                                                      "9: unknown local word turn: pic takes no local commands\n");
    EXPECT_EQ(status, 1);
}
} // namespace
