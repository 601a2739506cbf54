// Test double for Demo tests: a clock source whose readings the test sets.
#pragma once
#include <cstdint>
#include "demo/ClockSource.h"

class ManualClock : public SilentClock {
public:
    uint32_t startMusic() override
    {
        ++starts;
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
};
