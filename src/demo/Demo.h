// The Demo: the one central object of a running demo. It owns the script text, the timeline and the
// music stream, refers to the top-level effects of its scene, and draws one frame at a time.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>
#include "effects/Demoeffect.h"
#include "script/Timeline.h"

class Demo {
public:
    Demo();
    ~Demo();
    Demo(const Demo&) = delete;
    Demo& operator=(const Demo&) = delete;

    bool initScene();
    void loadScript();
    void runEvent(ScriptEvent& event);
    bool renderFrame();

    std::vector<Demoeffect*> scene;
    std::unique_ptr<char[]> scriptText;
    std::vector<ScriptEvent> events;
    uint32_t startMs = 0;
    uint32_t frameCount = 0;
    uint32_t stream = 0;
};
