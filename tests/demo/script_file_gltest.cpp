// The demo's own choreography, data/vessikscript.txt, played through the real Demo and interpreter
// with a fake clock that jumps from one event time to the next (one small frame per step), so every
// line runs in a second or two instead of the track's three minutes. Catches misspelt names, lines
// with missing words, missing assets (meshes too, which fail silently), broken shaders, a sky that
// does not follow the camera and lines that never run; and keeps the script using the whole
// vocabulary and ending after the music.
#include <gtest/gtest.h>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>
#include "demo/Demo.h"
#include "demo/DemoTestSupport.h"
#include "effects/EffectRegistry.h"
#include "effects/Model.h"
#include "resources/Gl.h"
#include "support/GlFixture.h"

namespace {
constexpr double kTrackEnd = 164.0;

const char* const kFailureTexts[] = {
    "Tried to find a nonexistant", "Couldn't", "failed local", "You need to create",
    "Error compiling shader", "Error linking shader.", "Decode png failed", "No effect bound",
    "Missing words", "append would make a cycle", "init:",
};

std::string scriptFile()
{
    std::ifstream in(std::string(ZEMBLAR_SOURCE_DIR) + "/data/vessikscript.txt", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The script's event lines, cut into words at spaces and commas like the interpreter does.
std::vector<std::vector<std::string>> eventLines(const std::string& text)
{
    std::vector<std::vector<std::string>> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#' || line[0] == 'B') continue;
        std::replace(line.begin(), line.end(), ',', ' ');
        std::istringstream words(line);
        std::vector<std::string> w{std::istream_iterator<std::string>(words), {}};
        if (w.size() >= 3) lines.push_back(w);
    }
    return lines;
}

// Milliseconds on the fake clock that put the demo clock just past `seconds`.
uint32_t justAfter(const Demo& demo, double seconds)
{
    return demo.startMs + static_cast<uint32_t>(seconds * 1000.0) + 2;
}

// Runs from the repository root, where the demo finds data/.
class ScriptFileGl : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        std::filesystem::current_path(ZEMBLAR_SOURCE_DIR);
        // A small viewport keeps the software rasteriser quick; the view is the demo's own.
        glViewport(0, 0, 160, 90);
        glMatrixMode(GL_PROJECTION);
        gluPerspective(45.0, 1280.0 / 720.0, 0.1, 1000.0);
        glMatrixMode(GL_MODELVIEW);
    }
    void TearDown() override
    {
        std::filesystem::current_path(previous);
        GlTest::TearDown();
    }
    const std::filesystem::path previous = std::filesystem::current_path();
};
} // namespace

TEST_F(ScriptFileGl, EveryLineRunsWithoutAFailureMessageAndEndComesAfterTheTrack)
{
    ManualClock clock;
    testing::internal::CaptureStdout();
    Demo demo(clock);

    // Every distinct event time but that of END, in time order; END would end the test process.
    std::set<double> times;
    const ScriptEvent* end = nullptr;
    for (const ScriptEvent& e : demo.events) {
        if (std::string(e.line).find(" END") != std::string::npos) end = &e;
        else if (e.time >= 0.0) times.insert(e.time);
    }
    ASSERT_NE(end, nullptr) << "the script has no END line";
    const double endTime = end->time;
    for (double t : times) {
        ASSERT_LT(t, endTime) << "an event at " << t << " would never run before END";
        clock.ms = justAfter(demo, t);
        demo.renderFrame();
    }
    // The sky takes the camera's place at the start of a frame, before that frame's events and
    // the camera's draw: look after one more frame at the same clock reading.
    demo.renderFrame();
    const std::string output = testing::internal::GetCapturedStdout();

    for (const char* failure : kFailureTexts)
        EXPECT_EQ(output.find(failure), std::string::npos) << "output holds \"" << failure << "\"";
    for (const ScriptEvent& e : demo.events)
        EXPECT_EQ(e.done, &e != end) << "event at " << e.time;
    EXPECT_GT(endTime, kTrackEnd);
    EXPECT_LT(endTime, kTrackEnd + 5.0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    // A missing mesh file is silent, so look at what the models hold.
    for (const auto& w : eventLines(scriptFile())) {
        if (w[2] != "local" || w.size() < 4 || w[3].rfind("loadobj;", 0) != 0) continue;
        auto* model = dynamic_cast<Model*>(EffectRegistry::findOrAdd(w[1]));
        ASSERT_NE(model, nullptr) << w[1];
        EXPECT_TRUE(model->loaded && !model->indices.empty()) << w[1] << " did not load " << w[3];
    }
    Demoeffect* cam = EffectRegistry::findOrAdd("cam");
    Demoeffect* sky = EffectRegistry::findOrAdd("skydome");
    ASSERT_TRUE(cam && sky && EffectRegistry::findOrAdd("fps"));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(sky->motion.point[i], cam->motion.point[i]);
    EXPECT_NE(sky->texture, 0u);
    EXPECT_GE(sky->scale, 100.0);
}

// The choreography is also the showcase of the vocabulary: every command, effect type, formation
// and animation mode stays in use when the script is edited.
TEST(ScriptFile, UsesTheWholeVocabulary)
{
    std::set<std::string> commands, types, locals;
    std::set<std::string> appendedTo;
    for (const auto& w : eventLines(scriptFile())) {
        commands.insert(w[2]);
        if (w[2] == "new" && w.size() > 3) types.insert(w[3]);
        if (w[2] == "local" && w.size() > 3) locals.insert(w[3]);
        if (w[2] == "append") appendedTo.insert(w[1] == "SCENE" ? "SCENE" : "child");
    }
    for (const char* c : {"SHADER", "new", "clone", "texture", "shader", "append", "remove", "setpoint",
                          "movepoint", "rotatepoint", "deltapoint", "setdirection", "deltadirection", "local",
                          "scale", "scalex", "scaley", "scalez", "state", "END"})
        EXPECT_EQ(commands.count(c), 1u) << c;
    for (const char* t : {"camera", "sphere", "model", "text", "image", "particles", "demoeffect"})
        EXPECT_EQ(types.count(t), 1u) << t;
    for (const char* l : {"type;town", "type;tube", "type;spike", "anim;none", "anim;sine", "anim;sinepulse",
                          "anim;wonk", "anim;dinky", "anim;burn"})
        EXPECT_EQ(locals.count(l), 1u) << l;
    EXPECT_EQ(appendedTo.size(), 2u) << "append both to SCENE and to children";
}
