// The platform clocks: SDL's tick count cut to 32 bits, so it wraps like a 32-bit millisecond
// counter and callers keep their unsigned-difference arithmetic; and SDL's performance counter in
// milliseconds, fine enough to place each frame between the music's buffer steps.
#include <SDL.h>
#include "shell/Platform.h"

uint32_t getTicks32()
{
    return static_cast<uint32_t>(SDL_GetTicks64());
}

double preciseMilliseconds()
{
    return static_cast<double>(SDL_GetPerformanceCounter()) * 1000.0 /
           static_cast<double>(SDL_GetPerformanceFrequency());
}
