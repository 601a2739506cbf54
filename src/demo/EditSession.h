// The demo as the authoring mode drives it: a clock that reads whatever music time the editor
// sets, and a Demo that is moved to any time by updating without drawing the frames a 60 fps frame
// clock reads (those the renderer plays at 60 fps, from frame 0), then the time itself. Going back
// in time, or a reload, rebuilds the Demo from the script's start in the same GL context: the
// effects of the old one are destroyed, while the shader programs and textures stay in their
// libraries and are used again.
// What it prints: no listing; a "Doing: LINE" line for each event run while the show plays forward
// (play()), as the player prints them, and none for the events a seek, a rebuild or a reload runs;
// the show's messages (script messages, compile errors, missing files) each once until the next
// reload, however often seeks run the events that print them; a reload prints its line, then every
// message of the rebuilt show up to the current time, each once (so a problem the reload did not
// mend is shown again under it).
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>
#include "demo/ClockSource.h"
#include "demo/Demo.h"
#include "demo/MessagesOnce.h"

// A clock source that reads the time it was set to: the wall clock and the demo clock are both
// that time (there is no music stream; the editor plays the music itself).
class EditClock : public SilentClock {
public:
    double now = 0.0; // seconds
    uint32_t milliseconds() override;
};

class EditSession : private EventWatch {
public:
    static constexpr double kSeekFps = 60.0;

    // The setup's listEvents is not used: the session lists nothing.
    explicit EditSession(const DemoSetup& setup = DemoSetup());
    ~EditSession();
    EditSession(const EditSession&) = delete;
    EditSession& operator=(const EditSession&) = delete;

    // Moves to time `t` (clamped at 0): forward by updating, backward by rebuilding first. The
    // last update is at `t` itself, as a live frame would be; a seek to the time of a 60 fps frame
    // from the start ends in the state that frame has in a render at 60 fps.
    void seek(double t);
    // Moves on to time `t` as the show plays: as seek(), printing "Doing: LINE" before each event
    // it runs (the event's messages after it). A time before the current one is a seek.
    void play(double t);
    // Rebuilds the Demo from the script's start and moves it back to the current time.
    void rebuild();
    // Takes the changed files the show names (ShowFiles.h) and rebuilds: prints "Reloaded FILES at
    // T", then the messages. False, having printed and changed nothing, when it names none of them.
    bool reload(const std::vector<std::string>& changed);
    // Every stage and texture held loaded again, then the rebuild: "Reloaded everything at T".
    void reloadEverything();
    // The files the show names so far (ShowFiles.h).
    std::vector<std::string> namedFiles() const;

    double time() const { return clock_.now; }
    // How many times the Demo has been built (it changes with every rebuild and reload).
    uint64_t builds() const { return builds_; }
    Demo& demo() { return *demo_; }
    const Demo& demo() const { return *demo_; }

private:
    bool beforeEvent(const ScriptEvent& event, size_t index) override;
    void afterEvent(const ScriptEvent& event, size_t index) override;
    void build();
    void destroy();
    void moveTo(double t);
    void rebuildHere();

    DemoSetup setup_;
    EventWatch* watch_; // the setup's own watch, asked first; null: none
    bool playing_ = false;
    uint64_t builds_ = 0;
    EditClock clock_;
    uint64_t nextFrame_ = 0; // the next frame of the 60 fps grid a seek forward updates
    std::unique_ptr<Demo> demo_;
    MessagesOnce messages_;
};
