// The Demo: the one central object of a running demo. It owns the script text, the timeline and the
// music stream, refers to the top-level effects of its scene, and plays one frame at a time: update()
// moves the demo one frame on (clocks, due events, motions), draw() draws the state update() left.
// Updating without drawing brings the demo to the same state as drawing the same frames.
// Its clocks come from a ClockSource: the platform clock with music for the live demo, or a frame
// counter for offline rendering; the frame driver is the same for both.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>
#include "demo/ClockSource.h"
#include "effects/Demoeffect.h"
#include "script/Timeline.h"

// Watches every event the Demo runs, for tools that report on a script: called with the event and
// its index in Demo::events (SIZE_MAX for an event from elsewhere).
class EventWatch {
public:
    virtual ~EventWatch() = default;
    // Before the event runs; false skips it (it is still marked done).
    virtual bool beforeEvent(const ScriptEvent& event, size_t index) = 0;
    virtual void afterEvent(const ScriptEvent& event, size_t index) = 0;
};

// What a Demo is built from besides its clock.
struct DemoSetup {
    const char* scriptPath = kScriptPath;
    EventWatch* watch = nullptr; // must outlive the Demo; null: none
    bool listEvents = true;      // the listing at start-up and a "Doing:" line per event run
};

class Demo {
public:
    // Demo driven by the given clock source, which must outlive the Demo.
    explicit Demo(ClockSource& clock, const DemoSetup& setup = DemoSetup());
    ~Demo();
    Demo(const Demo&) = delete;
    Demo& operator=(const Demo&) = delete;

    bool initScene();
    void loadScript();
    void runEvent(ScriptEvent& event);
    // One frame: update() then draw(). False once the script's END has run (in this frame, at start-up
    // or before): then nothing more is run or drawn and the caller shuts the demo down.
    bool renderFrame();
    bool ended() const { return ended_; }
    // One frame's state change: clocks, the "fps" text, "skydome" following "cam", due events, then
    // every effect's update in draw order. Draws nothing (events may still make GL objects). Does
    // nothing once END has run; an END among the due events stops it before the effects move.
    void update();
    // Clears and draws the scene as the last update() left it.
    void draw();
    // Updates frame after frame without drawing until `clock`, which must be this Demo's clock,
    // stands at `frame` (or END has run): a seek that ends where a sequence of renderFrame() calls would.
    void advanceTo(FrameClock& clock, uint64_t frame);

    std::vector<Demoeffect*> scene;
    std::unique_ptr<char[]> scriptText;
    std::vector<ScriptEvent> events;
    ScriptHeader header; // the script's MUSIC, TITLE and TEMPO lines
    uint32_t startMs = 0;
    uint32_t frameCount = 0;
    uint32_t stream = 0;

private:
    void setFixedGlState();
    void listAndRunStartupEvents();
    void advanceClocks();
    void feedFrameRate();
    void skydomeFollowsCamera();
    void runDueEvents();
    void updateScene();
    void drawScene();

    ClockSource& clock_;
    bool ended_ = false;
    DemoSetup setup_;
};
