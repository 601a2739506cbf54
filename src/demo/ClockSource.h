// Where the Demo reads its time from. The frame driver is the same for every source: it asks the
// source for a 32-bit millisecond reading (the wall clock) and for the music's position and state
// (the demo clock). The shell's PlatformClock plays the music and reads the platform clock; FrameClock
// steps a frame counter at a fixed rate and opens no audio device, for rendering frames offline.
#pragma once
#include <cstdint>

class ClockSource {
public:
    virtual ~ClockSource() = default;
    // Starts the music file at `path` as the Demo's construction ends; returns the stream handle
    // (0: none).
    virtual uint32_t startMusic(const char* path) = 0;
    // The wall clock: milliseconds as an unsigned 32-bit count that may wrap.
    virtual uint32_t milliseconds() = 0;
    // Play position of the stream in seconds.
    virtual double musicPosition(uint32_t stream) = 0;
    // Stream state: 0 stopped, 1 playing, 2 stalled, 3 paused.
    virtual int musicState(uint32_t stream) = 0;
    // Called once at the end of every frame.
    virtual void service() = 0;
    // Stops the music and releases the audio device (the Demo's destruction).
    virtual void stopMusic() = 0;
};

// A clock source without music: the demo clock follows the milliseconds it reports.
class SilentClock : public ClockSource {
public:
    uint32_t startMusic(const char*) override { return 0; }
    double musicPosition(uint32_t) override { return 0.0; }
    int musicState(uint32_t) override { return 0; }
    void service() override {}
    void stopMusic() override {}
};

// Offline clock: frame n reads n * 1000 / framesPerSecond milliseconds (rounded down), with no
// music, so the demo clock is the frame time. advance() moves to the next frame.
class FrameClock : public SilentClock {
public:
    explicit FrameClock(uint32_t framesPerSecond);
    void advance() { ++frame_; }
    uint64_t frame() const { return frame_; }
    // The reading of frame `frame` at `framesPerSecond` (0 counts as 1).
    static uint32_t millisecondsOf(uint64_t frame, uint32_t framesPerSecond);

    uint32_t milliseconds() override;

private:
    uint32_t framesPerSecond_;
    uint64_t frame_ = 0;
};
