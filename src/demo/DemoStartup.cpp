// Demo construction and destruction: fixed GL state, the script and its start-up events, then the
// music (the script's MUSIC track, else the default), then the wall clock's zero. Destruction stops
// the music; the effects are not touched.
#include "demo/Demo.h"
#include <cstdio>
#include "effects/DrawState.h"
#include "effects/Globals.h"
#include "resources/Messages.h"

Demo::Demo(ClockSource& clock, const DemoSetup& setup) : clock_(clock), setup_(setup)
{
    // A rebuilt Demo starts its clocks from zero like the first one, so start-up events and the
    // first frame see the same readings after a restart as after a fresh start.
    g_effects.musicTime = 0.0;
    g_effects.frameDelta = 0.0;
    g_effects.wallTime = 0.0;
    initScene();
    stream = clock_.startMusic(musicPathOf(header).c_str());
    startMs = clock_.milliseconds();
    frameCount = 0;
}

Demo::~Demo()
{
    clock_.stopMusic();
}

bool Demo::initScene()
{
    setFixedGlState();
    loadScript();
    listAndRunStartupEvents();
    return true;
}

// The context may be fresh or may hold what an earlier Demo (a restart, the editor's rebuild) left.
void Demo::setFixedGlState()
{
    glShadeModel(GL_SMOOTH);
    glClearColor(0.1f, 0.1f, 0.1f, 0.0f);
    glClearDepth(1.0);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
    resetDrawState(); // depth test and blending on, and the rest the effects rely on
}

// Lists every event as "<line> <time>" (unless the setup says not to); an event with a negative
// time runs right after its own listing line, so its output stands between that line and the next.
// A start-up END stops here.
void Demo::listAndRunStartupEvents()
{
    for (size_t i = 0; i < events.size() && !ended_; ++i) {
        if (setup_.listEvents) printMessage("%s %f\n", events[i].line, events[i].time);
        if (events[i].time < 0.0) runEvent(events[i]);
    }
}
