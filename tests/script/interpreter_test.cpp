// Command interpreter without GL: word cutting, the effect commands and their word-count rules,
// the existence check, empty bindings, the cycle refusal, "local" and "END".
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include "effects/EffectRegistry.h"
#include "effects/Globals.h"
#include "script/WordCutter.h"
#include "support/ScriptRunner.h"

namespace {
class Interpreter : public ::testing::Test {
protected:
    void SetUp() override
    {
        EffectRegistry::clear();
        g_musicTime = g_frameDelta = 0.0;
    }
    void TearDown() override { EffectRegistry::clear(); }

    Demoeffect* bound(const char* name) { return EffectRegistry::findOrAdd(name); }

    ScriptRunner script;
};

// Records what the per-type handler receives, and cuts its argument like the real handlers do.
class LocalProbe : public Demoeffect {
public:
    void local(float time, char* argument) override
    {
        calls++;
        lastTime = time;
        lastArgument = argument;
        splitLocal(argument);
    }
    int calls = 0;
    float lastTime = -1.0f;
    std::string lastArgument;
};

void expectVector(const float v[3], float x, float y, float z)
{
    EXPECT_FLOAT_EQ(v[0], x);
    EXPECT_FLOAT_EQ(v[1], y);
    EXPECT_FLOAT_EQ(v[2], z);
}
} // namespace

TEST(WordCutter, SpacesAndCommasMixAndEveryCutIsInPlace)
{
    char line[] = "1.5 cam,setpoint,,2 ";
    const ScriptWords w = cutWords(line);
    ASSERT_EQ(w.count, 5);
    EXPECT_STREQ(w.word(0), "cam");
    EXPECT_STREQ(w.word(1), "setpoint");
    EXPECT_STREQ(w.word(2), "");  // two separators in a row
    EXPECT_STREQ(w.word(3), "2");
    EXPECT_STREQ(w.word(4), "");  // separator at the end
    EXPECT_EQ(w.word(5), nullptr);
    EXPECT_STREQ(line, "1.5");
    char tabbed[] = "1\tcam scale";
    const ScriptWords t = cutWords(tabbed);
    ASSERT_EQ(t.count, 1);
    EXPECT_STREQ(t.word(0), "scale");
    EXPECT_STREQ(tabbed, "1\tcam");
}

TEST(WordCutter, KeepsTwentyWordsAndCutsTheRest)
{
    std::string text = "1";
    for (int i = 0; i < 30; ++i) text += " w" + std::to_string(i);
    const ScriptWords w = cutWords(text.data());
    ASSERT_EQ(w.count, ScriptWords::kMaxWords);
    EXPECT_STREQ(w.word(19), "w19"); // ends at the next separator, not at the end of the line
    EXPECT_EQ(w.word(20), nullptr);
    EXPECT_STREQ(text.c_str(), "1");
    EXPECT_EQ(cutWords(nullptr).count, 0);
}

TEST_F(Interpreter, NewBindsTheFactoryResultAndCloneSharesChildren)
{
    EXPECT_TRUE(script.run("-1 a new demoeffect").done);
    Demoeffect* a = bound("a");
    ASSERT_NE(a, nullptr);
    script.run("-1 kid new demoeffect");
    script.run("-1 a append kid");
    script.run("-1 b clone a");
    Demoeffect* b = bound("b");
    ASSERT_NE(b, nullptr);
    ASSERT_NE(b, a);
    EXPECT_EQ(b->children, a->children);
    script.run("-1 b append a");
    EXPECT_EQ(a->children.size(), 1u);
    EXPECT_EQ(b->children.size(), 2u);

    // A type word is case-sensitive; the name is bound to nothing. New again replaces the binding.
    script.run("1 a new Demoeffect");
    EXPECT_TRUE(EffectRegistry::contains("a"));
    EXPECT_EQ(bound("a"), nullptr);
    script.run("1 a clone kid");
    EXPECT_NE(bound("a"), nullptr);
    EXPECT_NE(bound("a"), bound("kid"));
}

TEST_F(Interpreter, PointAndDirectionCommandsNeedAllTheirNumbers)
{
    script.run("-1 a new demoeffect");
    Demoeffect* a = bound("a");
    EXPECT_EQ(script.output("5 a setpoint 1 2"), "");
    expectVector(a->motion.point, 0, 0, 0);
    script.run("5 a,setpoint 1,2,3");
    expectVector(a->motion.point, 1, 2, 3);
    script.run("5 a deltapoint 0.5 -1 x");
    expectVector(a->motion.deltaPoint, 0.5f, -1, 0);
    script.run("5 a setdirection 0.25 0.75 1e-1");
    expectVector(a->motion.direction, 0.25f, 0.75f, 0.1f);
    script.run("5 a deltadirection 1 2 3");
    expectVector(a->motion.deltaDirection, 1, 2, 3);
    for (const char* line : {"5 a deltapoint 9 9", "5 a setdirection 9 9", "5 a deltadirection 9,9",
                             "5 a Setpoint 9 9 9", "5 a SETPOINT 9 9 9", "5 a nosuchword 1"})
        EXPECT_EQ(script.output(line), "") << line;
    expectVector(a->motion.point, 1, 2, 3);
    expectVector(a->motion.deltaPoint, 0.5f, -1, 0);
    expectVector(a->motion.deltaDirection, 1, 2, 3);
    // Extra words past the twentieth are ignored; the line still works.
    script.run("5 a setpoint 7 8 9 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0");
    expectVector(a->motion.point, 7, 8, 9);
}

TEST_F(Interpreter, TimedMovesStartAtTheScheduledTime)
{
    script.run("-1 a new demoeffect");
    Demoeffect* a = bound("a");
    script.run("1 a setpoint 1 1 1");
    g_musicTime = 6.0; // the event runs late
    script.run("5 a movepoint 0,0,10,2", 5.0);
    const Motion& m = a->motion;
    EXPECT_DOUBLE_EQ(m.moveStart, 5.0);
    EXPECT_DOUBLE_EQ(m.moveEnd, 7.0);
    expectVector(m.moveFrom, 1, 1, 1);
    expectVector(m.moveTo, 0, 0, 10);
    EXPECT_EQ(m.motionFlags, unsigned(MotionMoving));
    g_musicTime = 6.0; // half-way from the scheduled start
    updateMotion(a->motion);
    expectVector(m.point, 0.5f, 0.5f, 5.5f);
    g_musicTime = 8.0;
    updateMotion(a->motion);
    expectVector(m.point, 0, 0, 10);

    EXPECT_EQ(script.output("9 a rotatepoint 1 0 0", 9.0), ""); // duration missing
    EXPECT_EQ(m.motionFlags, 0u);
    script.run("9 a rotatepoint 1 0 0 0.5", 9.0);
    EXPECT_DOUBLE_EQ(m.rotateStart, 9.0);
    EXPECT_DOUBLE_EQ(m.rotateEnd, 9.5);
    expectVector(m.rotateFrom, 0.5f, 0.5f, 0);
    expectVector(m.rotateTo, 1, 0, 0);
    EXPECT_EQ(m.motionFlags, unsigned(MotionRotating));
}

TEST_F(Interpreter, ScalesAndStateBits)
{
    script.run("-1 a new demoeffect");
    Demoeffect* a = bound("a");
    script.run("1 a scale 2.5");
    script.run("1 a scalex 0.5");
    script.run("1 a scaley -3");
    script.run("1 a scalez abc");
    EXPECT_DOUBLE_EQ(a->scale, 2.5);
    EXPECT_DOUBLE_EQ(a->scaleX, 0.5);
    EXPECT_DOUBLE_EQ(a->scaleY, -3.0);
    EXPECT_DOUBLE_EQ(a->scaleZ, 0.0);
    script.run("1 a state 2");
    script.run("1 a state 1");
    script.run("1 a state 0");
    EXPECT_EQ(a->state, 3);
    script.run("1 a state 8x");
    EXPECT_EQ(a->state, 11);
    script.run("1 b new demoeffect");
    script.run("1 b state 99999999999"); // beyond 32 bits: saturates instead of wrapping
    EXPECT_EQ(bound("b")->state, INT32_MAX);
}

TEST_F(Interpreter, LocalGetsTheScheduledTimeAndOneWritableWord)
{
    LocalProbe probe;
    EffectRegistry::findOrAdd("probe") = &probe;
    g_musicTime = 20.0;
    script.run("12.5 probe local text;hello world", 12.5);
    EXPECT_EQ(probe.calls, 1);
    EXPECT_FLOAT_EQ(probe.lastTime, 12.5f);
    EXPECT_EQ(probe.lastArgument, "text;hello");
    EXPECT_EQ(script.output("1 probe local"), "Missing words, line skipped: probe local\n");
    EXPECT_EQ(probe.calls, 1);
}

TEST_F(Interpreter, RefusedLinesSayWhyAndChangeNothing)
{
    script.run("1 a new demoeffect");
    script.run("1 cam new demoeffect");
    script.run("1 dud new nosuchtype");
    EXPECT_TRUE(script.run("5").done);
    const std::string none = "You need to create this effect with new or clone first! ";
    const std::pair<const char*, std::string> cases[] = {
        {"5 a", ""},
        {"5 ghost setpoint 1 2 3", none + "ghost setpoint\n"},
        // Too few numbers falls through to "any other word", which still needs the instance.
        {"5 ghost setpoint 1", none + "ghost setpoint\n"},
        // Two spaces after the time: an empty instance name and the name taken as the command.
        {"5  cam scale 2", none + " cam\n"},
        {"1 Cam scale 2", none + "Cam scale\n"},
        {"1 x new", "Missing words, line skipped: x new\n"},
        {"1 p SHADER a.vert b.frag", "Missing words, line skipped: p SHADER\n"},
        {"1 dud scale 2", "No effect bound to dud, line skipped: dud scale\n"},
        {"1 dud local x", "No effect bound to dud, line skipped: dud local\n"},
        {"1 dud movepoint 1 2 3 4", "No effect bound to dud, line skipped: dud movepoint\n"},
        {"1 dud unknownword", ""},
        // "SCENE" with anything but append means the effect of that name, and there is none.
        {"1 SCENE setpoint 1 2 3", "No effect bound to SCENE, line skipped: SCENE setpoint\n"},
        {"1 SCENE append nobody", "No effect bound to nobody, line skipped: SCENE append\n"},
        {"1 a append dud", "No effect bound to dud, line skipped: a append\n"},
        {"1 dud append a", "No effect bound to dud, line skipped: dud append\n"},
        {"1 a remove dud", "No effect bound to dud, line skipped: a remove\n"},
        // Cloning nothing binds nothing: a bound name keeps its effect, an unbound one stays unbound.
        {"1 a clone dud", "No effect bound to dud, line skipped: a clone\n"},
        {"1 fresh clone dud", "No effect bound to dud, line skipped: fresh clone\n"},
    };
    Demoeffect* a = bound("a");
    for (const auto& [line, said] : cases) EXPECT_EQ(script.output(line), said) << line;
    for (const char* cmd : {"clone", "texture", "shader", "append", "remove", "scale", "state"})
        EXPECT_EQ(script.output(std::string("1 a ") + cmd), std::string("Missing words, line skipped: a ") + cmd + "\n");
    for (const char* name : {"ghost", "x", "fresh"}) EXPECT_FALSE(EffectRegistry::contains(name)) << name;
    EXPECT_TRUE(script.scene.empty());
    EXPECT_EQ(bound("a"), a);
    EXPECT_TRUE(a->children.empty());
    EXPECT_DOUBLE_EQ(a->scale, 1.0);
}

TEST_F(Interpreter, AppendBuildsTheSceneAndRefusesCycles)
{
    for (const char* name : {"a", "b", "c"}) script.run(std::string("1 ") + name + " new demoeffect");
    Demoeffect* a = bound("a");
    Demoeffect* b = bound("b");
    Demoeffect* c = bound("c");
    script.run("1 SCENE append a");
    script.run("1 SCENE,append,a");
    EXPECT_EQ(script.scene, (std::vector<Demoeffect*>{a, a}));
    script.run("1 a append b");
    script.run("1 b append c");
    script.run("1 a append c"); // shared, not a cycle
    EXPECT_EQ(script.output("1 c append a"), "append would make a cycle, refused: c append a\n");
    EXPECT_EQ(script.output("1 b append b"), "append would make a cycle, refused: b append b\n");
    EXPECT_EQ(a->children, (std::vector<Demoeffect*>{b, c}));
    EXPECT_EQ(b->children, (std::vector<Demoeffect*>{c}));
    EXPECT_TRUE(c->children.empty());
    script.run("1 a remove b");
    script.run("1 a remove b"); // no longer a child: nothing
    EXPECT_EQ(a->children, (std::vector<Demoeffect*>{c}));
    EXPECT_EQ(script.output("1 b append a"), ""); // a no longer leads to b
    EXPECT_EQ(b->children, (std::vector<Demoeffect*>{c, a}));
}

TEST_F(Interpreter, EndExitsWithStatusZero)
{
    EXPECT_EXIT(script.run("99 x END"), ::testing::ExitedWithCode(0), "");
    script.run("1 a new demoeffect");
    EXPECT_EXIT(script.run("99 a END extra words"), ::testing::ExitedWithCode(0), "");
    // A lower-case end is just an unknown word.
    EXPECT_TRUE(script.run("99 a end").done);
}
