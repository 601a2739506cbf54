// Command interpreter: carries out one script line (cut into words in place) on the effect registry,
// the shader and texture libraries and the given top-level scene list.
#pragma once
#include <vector>
#include "effects/Demoeffect.h"
#include "script/Timeline.h"

void runEvent(ScriptEvent& event, std::vector<Demoeffect*>& scene);
