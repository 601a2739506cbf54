// zemblar --check judges per-type words by the effect types themselves: types defined here (bound by
// name before the run, since the factory knows only the shipped ones) are judged like shipped ones.
#include <gtest/gtest.h>
#include <cstring>
#include "effects/EffectRegistry.h"
#include "shell/ScriptCheck.h"
#include "support/TempDir.h"

namespace {
struct Knob : Demoeffect { // one word of its own, the others reported as the README says
    void local(float, char* text) override
    {
        if (const LocalArgs args = splitLocal(text); std::strcmp(args.word, "turn") != 0) reportFailedLocal(args);
    }
};
struct Plain : Demoeffect {}; // no per-type words: the base handler

TEST(ScriptCheck, PerTypeWordsAreJudgedByTheEffectsType)
{
    ScopedWorkDir dir;
    dir.write("check.txt", "-1 knob local turn;3\n-1 knob local spin;1\n-1 plain local turn;3\n-1 p new particles\n"
                           "-1 p local anim;sinepulse\n-1 p local type;spike\n-1 p local anim;spin\n"
                           "-1 pic new image\n-1 pic local turn;1\n");
    Knob knob;
    Plain plain;
    EffectRegistry::findOrAdd("knob") = &knob;
    EffectRegistry::findOrAdd("plain") = &plain;
    testing::internal::CaptureStdout();
    EXPECT_EQ(runScriptCheck("check.txt"), 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "2: failed local: spin 1\n3: unknown local word turn: plain takes no local commands\n"
              "7: unknown particle animation spin\n9: unknown local word turn: pic takes no local commands\n");
}
} // namespace
