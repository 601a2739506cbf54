// Process-wide state that belongs to one GL context: the effect, shader and texture registries hold
// GL names made in the current context. When the context is replaced (a restart), this state is
// forgotten so the next Demo starts from the same empty state as a fresh process.
#pragma once

// Empties the effect registry and the shader and texture libraries (without GL calls: their context
// is gone) and forgets the bound program. The effect objects themselves are left alone.
void resetProcessState();
