// Test double for Demo tests: a clock source whose readings the test sets.
#pragma once
#include <cstdint>
#include <string>
#include "demo/ClockSource.h"

class ManualClock : public SilentClock {
public:
    uint32_t startMusic(const char* path) override
    {
        ++starts;
        music = path;
        return 0;
    }
    uint32_t milliseconds() override { return ms; }
    double musicPosition(uint32_t) override { return position; }
    int musicState(uint32_t) override { return state; }
    void stopMusic() override { ++stops; }

    uint32_t ms = 0;
    double position = 0.0;
    int state = 0;
    int starts = 0, stops = 0;
    std::string music; // the path the last start played
};
