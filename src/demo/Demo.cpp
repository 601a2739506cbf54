// Demo: the script half (reading the timeline, running one event).
#include "demo/Demo.h"
#include "script/Interpreter.h"

void Demo::loadScript()
{
    int64_t size = 0;
    if (!loadScriptFile(scriptText, size)) return;
    splitScript(scriptText.get(), size, events);
}

void Demo::runEvent(ScriptEvent& event)
{
    if (!::runEvent(event, scene)) ended_ = true;
}
