// Camera effect (placeholder).
#include "effects/Camera.h"
#include <new>

Demoeffect* Camera::clone()
{
    return new (std::nothrow) Camera(*this);
}
