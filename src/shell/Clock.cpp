// The platform millisecond clock: SDL's tick count cut to 32 bits, so it wraps like a 32-bit
// millisecond counter and callers keep their unsigned-difference arithmetic.
#include <SDL.h>
#include "shell/Platform.h"

uint32_t getTicks32()
{
    return static_cast<uint32_t>(SDL_GetTicks64());
}
