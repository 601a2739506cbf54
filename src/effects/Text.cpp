// Text effect (placeholder).
#include "effects/Text.h"
#include <new>

Demoeffect* Text::clone()
{
    return new (std::nothrow) Text(*this);
}
