// Runs script lines through the interpreter the way the demo does: each line in its own writable
// buffer (kept alive for the test, since effects may hold on to words of it), one scene list, and
// an optional capture of everything printed on standard output.
#pragma once
#include <deque>
#include <string>
#include <vector>
#include "effects/Demoeffect.h"
#include "script/Interpreter.h"
#include "support/CaptureMessages.h"

struct ScriptRunner {
    std::vector<Demoeffect*> scene;
    std::deque<std::string> lines;

    // Runs one line as an event at `time`; returns the event as the interpreter left it.
    ScriptEvent run(const std::string& text, double time = 1.0)
    {
        lines.push_back(text);
        ScriptEvent event{time, lines.back().data(), false};
        runEvent(event, scene);
        return event;
    }
    std::string output(const std::string& text)
    {
        return capturedMessages([&] { run(text); });
    }
};
