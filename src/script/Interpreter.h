// Command interpreter: carries out one script line (cut into words in place) on the effect registry,
// the shader and texture libraries and the given top-level scene list.
#pragma once
#include <vector>
#include "effects/Demoeffect.h"
#include "script/Timeline.h"

// Runs the event's line and marks it done. Returns false when the line was "END": a request to stop
// the demo, which the caller carries out (nothing runs or is drawn after it).
bool runEvent(ScriptEvent& event, std::vector<Demoeffect*>& scene);
