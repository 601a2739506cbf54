// The demo as the authoring mode drives it: a clock that reads whatever music time the editor
// sets, and a Demo that is moved to any time by updating frame after frame at 60 frames a second
// without drawing. Going back in time, or a reload, rebuilds the Demo from the script's start in
// the same GL context: the effects of the old one are destroyed, while the shader programs and
// textures stay in their libraries and are used again.
#pragma once
#include <memory>
#include "demo/ClockSource.h"
#include "demo/Demo.h"

// A clock source that reads the time it was set to: the wall clock and the demo clock are both
// that time (there is no music stream; the editor plays the music itself).
class EditClock : public SilentClock {
public:
    double now = 0.0; // seconds
    uint32_t milliseconds() override;
};

class EditSession {
public:
    static constexpr double kSeekFps = 60.0;

    explicit EditSession(const DemoSetup& setup = DemoSetup());
    ~EditSession();
    EditSession(const EditSession&) = delete;
    EditSession& operator=(const EditSession&) = delete;

    // Moves to time `t` (clamped at 0): forward by updating, backward by rebuilding first. The
    // last update is at `t` itself, as a live frame would be.
    void seek(double t);
    // Rebuilds the Demo from the script's start and moves it back to the current time.
    void rebuild();
    double time() const { return clock_.now; }
    Demo& demo() { return *demo_; }

private:
    void build();
    void destroy();

    DemoSetup setup_;
    EditClock clock_;
    std::unique_ptr<Demo> demo_;
};
