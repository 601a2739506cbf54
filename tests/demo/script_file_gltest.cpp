// The demo's own choreography, data/vessikscript.txt, played through the real Demo and interpreter
// with a fake clock that jumps from one event time to the next (one small frame per step), so every
// line runs in a second or two instead of the track's three minutes. Catches misspelt names, lines
// with missing words, missing assets (meshes too, which fail silently), broken shaders and lines
// that never run; and keeps the script ending after the music.
#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include "demo/Demo.h"
#include "demo/DemoTestSupport.h"
#include "effects/EffectRegistry.h"
#include "effects/Model.h"
#include "resources/Gl.h"
#include "support/GlFixture.h"
#include "support/TempDir.h"
#include "resources/Messages.h"

namespace {
constexpr double kTrackEnd = 164.0;

const char* const kFailureTexts[] = {
    "Tried to find a nonexistant", "Couldn't", "failed local", "You need to create",
    "Error compiling shader", "Error linking shader.", "Decode png failed", "No effect bound",
    "Missing words", "append would make a cycle", "init:",
};

using ScriptFileGl = GlTest;
} // namespace

TEST_F(ScriptFileGl, EveryLineRunsWithoutAFailureMessageAndEndComesAfterTheTrack)
{
    ScopedWorkDir dir; // with the repository's own data/
    std::filesystem::create_directory_symlink(std::string(ZEMBLAR_SOURCE_DIR) + "/data", "data");
    // A small viewport keeps the software rasteriser quick; the view is the demo's own.
    glViewport(0, 0, 160, 90);
    glMatrixMode(GL_PROJECTION);
    gluPerspective(45.0, 1280.0 / 720.0, 0.1, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    ManualClock clock;
    startMessageCapture();
    Demo demo(clock);

    // Every distinct event time but that of END, in time order, then END, which stops the demo.
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
        clock.ms = demo.startMs + static_cast<uint32_t>(t * 1000.0) + 2; // the demo clock just past t
        demo.renderFrame();
    }
    clock.ms = demo.startMs + static_cast<uint32_t>(endTime * 1000.0) + 2;
    EXPECT_FALSE(demo.renderFrame());
    const std::string output = endMessageCapture();

    for (const char* failure : kFailureTexts)
        EXPECT_EQ(output.find(failure), std::string::npos) << "output holds \"" << failure << "\"";
    for (const ScriptEvent& e : demo.events) EXPECT_TRUE(e.done) << "event at " << e.time;
    EXPECT_GT(endTime, kTrackEnd);
    EXPECT_LT(endTime, kTrackEnd + 5.0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    // A missing mesh file is silent, so look at what the models hold.
    std::ifstream file("data/vessikscript.txt");
    for (std::string line; std::getline(file, line);) {
        std::istringstream words(line);
        std::string time, name, command, argument;
        words >> time >> name >> command >> argument;
        if (command != "local" || argument.rfind("loadobj;", 0) != 0) continue;
        auto* model = dynamic_cast<Model*>(EffectRegistry::findOrAdd(name));
        ASSERT_NE(model, nullptr) << name;
        EXPECT_TRUE(model->loaded && !model->indices.empty()) << name << " did not load " << argument;
    }
}
