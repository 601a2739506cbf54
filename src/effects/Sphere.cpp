// Sphere effect (placeholder).
#include "effects/Sphere.h"
#include <new>

Demoeffect* Sphere::clone()
{
    return new (std::nothrow) Sphere(*this);
}
