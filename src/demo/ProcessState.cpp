// The one reset of the process-wide state, lowest layer first.
#include "demo/ProcessState.h"
#include "effects/Globals.h"
#include "resources/ResourceState.h"

void resetProcessState()
{
    resetResourceState();
    resetEffectsState();
}
