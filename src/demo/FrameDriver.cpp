// The frame driver: one frame of the Demo. The update moves clocks, the two hard-wired instances
// ("fps" gets the frame-rate text, "skydome" follows "cam"), runs due script events in file order and
// updates the scene; the draw then draws the scene. Allocates nothing per frame.
#include <cstdio>
#include <string>
#include "demo/Demo.h"
#include "effects/DrawState.h"
#include "effects/EffectRegistry.h"
#include "effects/Globals.h"
#include "resources/Messages.h"

namespace {
const std::string kFpsName("fps");
const std::string kSkydomeName("skydome");
const std::string kCameraName("cam");
constexpr size_t kFrameRateTextSize = 90;

// The bound effect of a fixed name, or null when the script never bound it (never adds a binding).
Demoeffect* boundEffect(const std::string& name)
{
    return EffectRegistry::find(name);
}
} // namespace

bool Demo::renderFrame()
{
    update();
    if (ended_) return false;
    draw();
    return true;
}

void Demo::update()
{
    if (ended_) return;
    advanceClocks();
    feedFrameRate();
    skydomeFollowsCamera();
    runDueEvents();
    if (ended_) return;
    updateScene();
    ++frameCount;
    clock_.service();
}

// Every frame starts from the same GL state, whatever the frame before it (or the editor's overlay)
// left behind; the depth mask it sets also lets the clear reach the depth buffer.
void Demo::draw()
{
    resetDrawState();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawScene();
    if (g_effects.boundProgram != 0) {
        glUseProgram(0);
        g_effects.boundProgram = 0;
    }
}

void Demo::advanceTo(FrameClock& clock, uint64_t frame)
{
    while (clock.frame() < frame && !ended_) {
        update();
        clock.advance();
    }
}

// Wall clock from the millisecond reading (unsigned difference, so a wrap of the 32-bit clock does
// no harm); the demo clock is the music position while the stream plays or stalls, else the wall.
void Demo::advanceClocks()
{
    const uint32_t elapsedMs = clock_.milliseconds() - startMs;
    const double elapsed = static_cast<double>(elapsedMs) / 1000.0;
    g_effects.frameDelta = elapsed - g_effects.wallTime;
    g_effects.wallTime = elapsed;
    g_effects.musicTime = clock_.musicPosition(stream);
    const int state = clock_.musicState(stream);
    if (state == 0 || state == 3) g_effects.musicTime = g_effects.wallTime;
}

// Average frame rate since the Demo was built, as the local command "text;<rate> fps".
void Demo::feedFrameRate()
{
    char text[kFrameRateTextSize];
    std::snprintf(text, sizeof text, "text;%lf fps", frameCount / g_effects.wallTime);
    if (Demoeffect* fps = boundEffect(kFpsName)) fps->local(static_cast<float>(g_effects.musicTime), text);
}

void Demo::skydomeFollowsCamera()
{
    Demoeffect* skydome = EffectRegistry::find(kSkydomeName);
    const Demoeffect* camera = EffectRegistry::find(kCameraName);
    if (!skydome || !camera) return;
    for (int i = 0; i < 3; ++i) skydome->motion.point[i] = camera->motion.point[i];
}

// Every event not yet run whose time lies strictly before the demo clock, in file order, up to an
// END. The length is read at every step.
void Demo::runDueEvents()
{
    for (size_t i = 0; i < events.size() && !ended_; ++i) {
        if (events[i].done || !(events[i].time < g_effects.musicTime)) continue;
        if (setup_.listEvents) printMessage("Doing: %s\n", events[i].line);
        runEvent(events[i]);
    }
}

// Each top-level effect in the order drawScene() draws them.
void Demo::updateScene()
{
    for (size_t i = 0; i < scene.size(); ++i)
        if (scene[i]) scene[i]->update();
}

// Each top-level effect from an identity model-view matrix. Empty scene entries (a name appended
// before anything was bound to it) are skipped.
void Demo::drawScene()
{
    for (size_t i = 0; i < scene.size(); ++i) {
        glLoadIdentity();
        if (scene[i]) scene[i]->draw();
    }
}
