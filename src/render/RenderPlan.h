// Which frames an offline render plays and writes. Frame n shows the demo clock of the frame
// clock's reading for n; the frame "at" a time T is the first whose nominal time n / fps is at or
// after T. A script END stops the render before the first frame in which it would run (its time
// strictly below the frame's clock), so the output ends with the last frame the demo shows.
#pragma once
#include <cstdint>
#include <string>
#include "render/RenderOptions.h"

struct FramePlan {
    uint64_t first = 0; // first frame written; frames before it are played without writing
    uint64_t end = 0;   // one past the last frame written
};

// The demo clock of frame n in seconds, as the frame driver computes it from the frame clock.
double frameClockSeconds(uint64_t frame, uint32_t fps);
// The first frame whose nominal time is at or after `seconds`.
uint64_t frameAt(double seconds, uint32_t fps);
// The first frame in which an END timed at `endTime` runs.
uint64_t frameOfEnd(double endTime, uint32_t fps);

// Settles the frame range from the options, the script's first END time (infinity when none) and
// the music's length (negative when unknown). False with the reason in `error` when the range is
// empty or has no end.
bool planFrames(const RenderOptions& options, double endTime, double musicSeconds, FramePlan& plan, std::string& error);

// Segment k (1-based) of n consecutive, nearly equal parts of a plan's frames; empty (first ==
// end) when there are more segments than frames.
FramePlan segmentOf(const FramePlan& plan, int k, int n);
