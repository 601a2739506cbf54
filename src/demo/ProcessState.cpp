// Forgetting the per-context process state before a new GL context is made.
#include "demo/ProcessState.h"
#include "effects/EffectRegistry.h"
#include "effects/Globals.h"
#include "effects/Random.h"
#include "resources/ShaderLibrary.h"
#include "resources/TextureLibrary.h"

void resetProcessState()
{
    EffectRegistry::clear();
    clearShaderLibrary();
    clearTextureLibrary();
    g_boundProgram = 0;
    reseedRandom();
}
