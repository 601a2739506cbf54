// The live clock source of the Demo, on the platform's millisecond clock and music player.
#pragma once
#include "demo/ClockSource.h"

// The live clock: platform milliseconds and the music "data/music/Tundrel.mp3" at 44100 Hz. Audio
// failures are shown in message boxes (caption "BASS") and leave the stream at 0.
class PlatformClock : public ClockSource {
public:
    uint32_t startMusic() override;
    uint32_t milliseconds() override;
    double musicPosition(uint32_t stream) override;
    int musicState(uint32_t stream) override;
    void service() override;
    void stopMusic() override;
};

// The one PlatformClock of the process.
ClockSource& platformClock();
