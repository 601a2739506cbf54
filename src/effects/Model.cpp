// Model effect (placeholder).
#include "effects/Model.h"
#include <new>

Demoeffect* Model::clone()
{
    return new (std::nothrow) Model(*this);
}
