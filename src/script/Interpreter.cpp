// Command interpreter (placeholder: marks the event done).
#include "script/Interpreter.h"

void runEvent(ScriptEvent& event, std::vector<Demoeffect*>&)
{
    event.done = true;
}
