// The resources layer's process-wide state and its reset.
#include "resources/ResourceState.h"

ResourceState& resourceState()
{
    static ResourceState state;
    return state;
}

void resetResourceState()
{
    resourceState() = ResourceState{};
}
