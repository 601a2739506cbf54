// Command interpreter without GL: the effect commands and their word rules (spaces and commas cut,
// doubled separators, more than twenty words), the existence check, the cycle refusal, "local".
// ("END" is run by the frame driver's tests.)
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>
#include "demo/ProcessState.h"
#include "effects/EffectRegistry.h"
#include "effects/Globals.h"
#include "support/ScriptRunner.h"

namespace {
class Interpreter : public ::testing::Test {
protected:
    void SetUp() override { resetProcessState(); }
    void TearDown() override { EffectRegistry::clear(); }
    Demoeffect* bound(const char* name) { return EffectRegistry::findOrAdd(name); }
    ScriptRunner script;
};

// Records what the per-type handler receives, and cuts it in place as the real handlers do.
struct LocalProbe : Demoeffect {
    void local(float time, char* argument) override { lastTime = time, lastArgument = argument, splitLocal(argument); }
    float lastTime = -1.0f;
    std::string lastArgument;
};

std::vector<float> xyz(const float v[3])
{
    return {v[0], v[1], v[2]};
}
} // namespace

TEST_F(Interpreter, NewBindsTheFactoryResultAndCloneSharesChildren)
{
    EXPECT_TRUE(script.run("-1 a new demoeffect").done);
    for (const char* line : {"-1 kid new demoeffect", "-1 a append kid", "-1 b clone a", "-1 b append a"})
        script.run(line);
    Demoeffect *a = bound("a"), *b = bound("b");
    ASSERT_TRUE(a && b && a != b);
    EXPECT_EQ(b->children, (std::vector<Demoeffect*>{bound("kid"), a}));
    script.run("1 a new Demoeffect"); // type words are case-sensitive: the name is bound to nothing
    EXPECT_TRUE(EffectRegistry::contains("a") && !bound("a"));
}

TEST_F(Interpreter, MotionScaleAndStateCommandsNeedAllTheirWords)
{
    script.run("-1 a new demoeffect");
    for (const char* line : {"5 a,setpoint 1,2,3", "5 a deltapoint 0.5 -1 x", "5 a setdirection 0.25 0.75 1e-1",
                             "5 a deltadirection 1 2 3", "1 a scale 2.5", "1 a scalex 0.5", "1 a scaley -3",
                             "1 a scalez abc", "1 a scalez\t7", "1 a state 2", "1 a state 1", "1 a state 8x",
                             // a tab is no separator ("scalez\t7" is one unknown word); too few numbers,
                             // capitalised and unknown words: silent, nothing changes
                             "5 a setpoint 9 9", "5 a deltadirection 9,9", "5 a Setpoint 9 9 9", "5 a nosuchword 1"})
        EXPECT_EQ(script.output(line), "") << line;
    const Demoeffect& a = *bound("a");
    EXPECT_EQ(xyz(a.motion.point), (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(xyz(a.motion.deltaPoint), (std::vector<float>{0.5f, -1, 0}));
    EXPECT_EQ(xyz(a.motion.direction), (std::vector<float>{0.25f, 0.75f, 0.1f}));
    EXPECT_EQ((std::vector<double>{a.scale, a.scaleX, a.scaleY, a.scaleZ}), (std::vector<double>{2.5, 0.5, -3, 0}));
    EXPECT_EQ(a.state, 11);                                                           // OR-ed
    script.run("5 a setpoint 7 8 9 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0"); // past word 20: ignored
    EXPECT_EQ(xyz(a.motion.point), (std::vector<float>{7, 8, 9}));
    script.run("1 a state 99999999999"); // beyond 32 bits: saturates instead of wrapping
    EXPECT_EQ(a.state, INT32_MAX);
}

TEST_F(Interpreter, TimedMovesAndLocalTakeTheScheduledTimeNotTheTimeTheEventRuns)
{
    script.run("-1 a new demoeffect");
    const Motion& m = bound("a")->motion;
    script.run("1 a setpoint 1 1 1");
    g_effects.musicTime = 6.0; // the events run late
    script.run("5 a movepoint 0,0,10,2", 5.0);
    script.run("9 a rotatepoint 1 0 0 0.5", 9.0);
    EXPECT_EQ((std::vector<double>{m.moveStart, m.moveEnd, m.rotateStart, m.rotateEnd}),
              (std::vector<double>{5.0, 7.0, 9.0, 9.5}));
    EXPECT_EQ(xyz(m.moveFrom), (std::vector<float>{1, 1, 1}));
    EXPECT_EQ(m.motionFlags, unsigned(MotionMoving | MotionRotating));
    LocalProbe probe; // "local" hands the handler one writable word of the line
    EffectRegistry::findOrAdd("probe") = &probe;
    script.run("12.5 probe local text;hello world", 12.5);
    EXPECT_EQ(std::make_pair(probe.lastTime, probe.lastArgument), std::make_pair(12.5f, std::string("text;hello")));
}

TEST_F(Interpreter, RefusedLinesSayWhyAndChangeNothing)
{
    for (const char* line : {"1 a new demoeffect", "1 cam new demoeffect", "1 dud new nosuchtype"}) script.run(line);
    EXPECT_TRUE(script.run("5").done);
    const std::string none = "You need to create this effect with new or clone first! ";
    const std::pair<const char*, std::string> cases[] = {
        {"5 a", ""},
        {"5 ghost setpoint 1 2 3", none + "ghost setpoint\n"},
        {"5  cam scale 2", none + " cam\n"}, // two spaces: an empty name, "cam" the command
        {"1 p SHADER a.vert b.frag", "Missing words, line skipped: p SHADER\n"},
        {"1 dud scale 2", "No effect bound to dud, line skipped: dud scale\n"},
        // "SCENE" with anything but append means the effect of that name, and there is none.
        {"1 SCENE setpoint 1 2 3", "No effect bound to SCENE, line skipped: SCENE setpoint\n"},
        {"1 a append dud", "No effect bound to dud, line skipped: a append\n"},
        {"1 fresh clone dud", "No effect bound to dud, line skipped: fresh clone\n"}, // binds nothing
    };
    Demoeffect* a = bound("a");
    for (const auto& [line, said] : cases) EXPECT_EQ(script.output(line), said) << line;
    for (const char* cmd : {"new", "clone", "texture", "shader", "append", "remove", "local", "scale", "state"})
        EXPECT_EQ(script.output(std::string("1 a ") + cmd),
                  std::string("Missing words, line skipped: a ") + cmd + "\n");
    EXPECT_FALSE(EffectRegistry::contains("ghost") || EffectRegistry::contains("fresh"));
    EXPECT_TRUE(script.scene.empty() && bound("a") == a && a->children.empty() && a->scale == 1.0);
}

TEST_F(Interpreter, AppendBuildsTheSceneAndRefusesCycles)
{
    for (const char* name : {"a", "b", "c"}) script.run(std::string("1 ") + name + " new demoeffect");
    Demoeffect *a = bound("a"), *b = bound("b"), *c = bound("c");
    for (const char* line : {"1 SCENE append a", "1 SCENE,append,a", "1 a append b", "1 b append c", "1 a append c"})
        script.run(line); // "a append c" shares c, which is no cycle
    EXPECT_EQ(script.scene, (std::vector<Demoeffect*>{a, a}));
    EXPECT_EQ(script.output("1 c append a"), "append would make a cycle, refused: c append a\n");
    EXPECT_EQ(script.output("1 b append b"), "append would make a cycle, refused: b append b\n");
    EXPECT_EQ(a->children, (std::vector<Demoeffect*>{b, c}));
    EXPECT_TRUE(c->children.empty());
    script.run("1 a remove b");
    script.run("1 a remove b"); // no longer a child: nothing
    EXPECT_EQ(a->children, (std::vector<Demoeffect*>{c}));
    EXPECT_EQ(script.output("1 b append a"), ""); // a no longer leads to b
    EXPECT_EQ(b->children, (std::vector<Demoeffect*>{c, a}));
}
