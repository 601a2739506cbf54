// Particles effect (placeholder).
#include "effects/Particles.h"
#include <new>

Demoeffect* Particles::clone()
{
    return new (std::nothrow) Particles(*this);
}
