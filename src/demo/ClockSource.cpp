// The offline frame clock.
#include "demo/ClockSource.h"

FrameClock::FrameClock(uint32_t framesPerSecond) : framesPerSecond_(framesPerSecond ? framesPerSecond : 1) {}

uint32_t FrameClock::milliseconds()
{
    return millisecondsOf(frame_, framesPerSecond_);
}

uint32_t FrameClock::millisecondsOf(uint64_t frame, uint32_t framesPerSecond)
{
    // 64-bit product, then truncated to the 32-bit clock width (it wraps like the platform clock).
    return static_cast<uint32_t>(frame * 1000u / (framesPerSecond ? framesPerSecond : 1));
}
