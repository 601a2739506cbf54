// Demo: the script half (reading the timeline, running one event).
#include "demo/Demo.h"
#include "script/Interpreter.h"

void Demo::loadScript()
{
    int64_t size = 0;
    if (!loadScriptFile(scriptText, size, setup_.scriptPath)) return;
    splitScript(scriptText.get(), size, events, &header);
}

void Demo::runEvent(ScriptEvent& event)
{
    if (!setup_.watch) {
        if (!::runEvent(event, scene)) ended_ = true;
        return;
    }
    const bool ours = !events.empty() && &event >= events.data() && &event < events.data() + events.size();
    const size_t index = ours ? static_cast<size_t>(&event - events.data()) : SIZE_MAX;
    if (setup_.watch->beforeEvent(event, index) && !::runEvent(event, scene)) ended_ = true;
    event.done = true;
    setup_.watch->afterEvent(event, index);
}
