// zemblar --check on a script with one problem of each kind, written with LF, CRLF and lone CR line
// ends: the same report, line for line. Per-type words are judged by the effect types themselves:
// types defined here (bound by name before the run, since the factory knows only the shipped ones)
// are judged like shipped ones.
#include <gtest/gtest.h>
#include <cstring>
#include <sys/stat.h>
#include "effects/EffectRegistry.h"
#include "shell/ScriptCheck.h"
#include "support/TempDir.h"

namespace {
std::string check(const std::string& script, int status = 1)
{
    testing::internal::CaptureStdout();
    EXPECT_EQ(runScriptCheck(script), status) << script;
    return testing::internal::GetCapturedStdout();
}

TEST(ScriptCheck, EveryKindOfProblemOnItsLineWhateverTheLineEnds)
{
    ScopedWorkDir dir;
    dir.write("data/shaders/good.frag", "#version 330 compatibility\nout vec4 c;\nvoid main() { c = vec4(1.0); }\n");
    ASSERT_EQ(::mkfifo("pipe.obj", 0600), 0);
    // Good header lines and bar times are not reported.
    const std::string script =
        "TEMPO 120\n-1 broken SHADER nosuch.vert,good.frag,\n-1 a new demoeffect\n-1 a wobble 1 2\n"
        "-1 a setpoint 1 2\n-1 a\ncam setpoint 0 0 1\n# comment\n\n-1 SCENE append ghost\n"
        "-1 p new particles\n-1 p local type;cube\n-1 p local anim;spin\n-1 q new gizmo\n"
        "-1 m new model\n-1 m local loadobj;data/meshes/nothere.obj\n-1 m local loadobj;data/\n"
        "-1 m local loadobj;pipe.obj\n-1 a local spin;3\n1:2 a texture nosuch.png\n"
        "17:5 a setpoint 1 1 1\n0:3 a setpoint 1 1 1\n2.0 a END\n3.0 a setpoint 1 1 1\n"
        "MUSIC nothere.ogg\nTEMPO 90 @ 0:1\n1.5 a setpoint 1 1 1\n2.0 a scale 2\n";
    const std::string reports = // a mesh named by a FIFO is neither a crash nor a wait
        "4: unknown command wobble\n5: too few words for setpoint: the line does nothing\n"
        "6: no command: the line does nothing\n7: no time at the start: the line never runs\n"
        "10: No effect bound to ghost, line skipped: SCENE append\n12: unknown particle type cube\n"
        "13: unknown particle animation spin\n14: unknown effect type gizmo: nothing is bound to q\n"
        "16: missing mesh file data/meshes/nothere.obj\n17: missing mesh file data/\n"
        "18: missing mesh file pipe.obj\n19: unknown local word spin: a takes no local commands\n"
        "20: Couldn't find texture: nosuch.png\n"
        "21: bad time 17:5 (past the bar of 4 beats): the line never runs\n"
        "22: bad time 0:3 (before bar 1): the line never runs\n"
        "24: never runs: it comes after END at 2.000000\n"
        "25: missing music file nothere.ogg (looked for nothere.ogg and data/music/nothere.ogg)\n"
        "26: bad TEMPO line: the change at 0:1 is before bar 1\n28: never runs: it comes after END at 2.000000\n";
    for (const char* end : {"\n", "\r\n", "\r"}) {
        std::string text; // the last line without its end
        for (size_t at = 0, next; (next = script.find('\n', at)) != std::string::npos; at = next + 1)
            text += script.substr(at, next - at) + (next + 1 < script.size() ? end : "");
        dir.write("bad.txt", text);
        const std::string out = check("bad.txt");
        SCOPED_TRACE(testing::PrintToString(end));
        // The link error is followed by the GL driver's own log.
        EXPECT_EQ(out.rfind("2: missing shader file data/shaders/nosuch.vert\n2: Error linking shader.\n", 0), 0u);
        EXPECT_EQ(out.substr(out.find("\n4: ") + 1), reports);
    }
    // Without END every event runs up to the hour the check waits for; a later one never does.
    dir.write("late.txt", "MUSIC late.txt\r\n3599.9 x new demoeffect\r\n3600.1 x setpoint 1 2 3\r\n");
    const std::string late = check("late.txt");
    EXPECT_EQ(late.rfind("1: unplayable music file late.txt: ", 0), 0u) << late;
    EXPECT_EQ(late.substr(late.find("\n") + 1), "3: never runs: its time is never reached\n");
    dir.write("good.txt", "TEMPO 125 4\n-1 a new demoeffect\n\n1:1 a setpoint 1 2 3\n4.5 a END\n");
    EXPECT_EQ(check("good.txt", 0), "");
    EXPECT_EQ(check("none.txt"), "0: Couldn't open: none.txt\n");
}

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
    EXPECT_EQ(check("check.txt"),
              "2: failed local: spin 1\n3: unknown local word turn: plain takes no local commands\n"
              "7: unknown particle animation spin\n9: unknown local word turn: pic takes no local commands\n");
}
} // namespace
