// Image effect (placeholder).
#include "effects/Image.h"
#include <new>

Demoeffect* Image::clone()
{
    return new (std::nothrow) Image(*this);
}
