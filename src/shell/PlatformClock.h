// The live clock source of the Demo, on the platform's millisecond clock and music player.
#pragma once
#include "demo/ClockSource.h"
#include "shell/MusicSmoother.h"

// The live clock: platform milliseconds and the script's music at 44100 Hz, its position smoothed
// between the mixer's buffer steps, and read for the middle of the refresh the frame is seen for
// (frameLookahead). Audio failures are shown in message boxes (caption "BASS") and leave the
// stream at 0.
class PlatformClock : public ClockSource {
public:
    uint32_t startMusic(const char* path) override;
    uint32_t milliseconds() override;
    double musicPosition(uint32_t stream) override;
    int musicState(uint32_t stream) override;
    void service() override;
    void stopMusic() override;

private:
    MusicSmoother smoother_;
    double lastTime_ = 0.0; // the last time read while playing, seconds
};

// The one PlatformClock of the process.
ClockSource& platformClock();
