// Test doubles for Demo tests: a clock source whose readings the test sets, and an effect that
// records what the frame driver does to it.
#pragma once
#include <cstdint>
#include <cstring>
#include "demo/ClockSource.h"
#include "effects/Demoeffect.h"
#include "effects/Globals.h"

class ManualClock : public ClockSource {
public:
    uint32_t startMusic() override { ++starts; return streamToGive; }
    uint32_t milliseconds() override { return ms; }
    double musicPosition(uint32_t) override { return position; }
    int musicState(uint32_t) override { return state; }
    void service() override { ++services; }
    void stopMusic() override { ++stops; }

    uint32_t streamToGive = 0;
    uint32_t ms = 0;
    double position = 0.0;
    int state = 0;
    int starts = 0, services = 0, stops = 0;
};

// Remembers the last local command text, the model-view matrix at each draw and the draw count.
// Copies into fixed storage so that recording allocates nothing.
class RecordingEffect : public Demoeffect {
public:
    void draw() override
    {
        ++draws;
        glGetFloatv(GL_MODELVIEW_MATRIX, matrixAtDraw);
        Demoeffect::draw();
        if (programToBind) g_boundProgram = programToBind; // as if its draw had bound a program
    }
    void local(float time, char* argument) override
    {
        lastLocalTime = time;
        std::strncpy(lastLocal, argument, sizeof lastLocal - 1);
        ++locals;
    }

    int draws = 0;
    int locals = 0;
    float lastLocalTime = -1.0f;
    char lastLocal[128] = {};
    float matrixAtDraw[16] = {};
    GLuint programToBind = 0;
};
