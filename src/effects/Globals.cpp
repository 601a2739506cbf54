// The effects layer's process-wide state and its reset.
#include "effects/Globals.h"
#include "effects/EffectRegistry.h"
#include "effects/Random.h"

EffectsState g_effects;

void resetEffectsState()
{
    g_effects = EffectsState{};
    EffectRegistry::clear();
    reseedRandom();
}
