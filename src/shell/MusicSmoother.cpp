// The smoothed music clock: wall clock plus an averaged offset, clamped never to go back.
#include "shell/MusicSmoother.h"
#include <algorithm>
#include <cmath>

void MusicSmoother::reset()
{
    *this = MusicSmoother();
}

double MusicSmoother::update(double wallMs, double position, bool playing)
{
    const double wall = wallMs / 1000.0;
    // The track started over: so does its clock. A position a little back is the output latency's
    // estimate moving up between two decoder steps, not a restart: the clock holds through it.
    if (position < lastPosition_ - kResyncSeconds) reset();
    lastPosition_ = position;
    if (!playing) {
        locked_ = false;
        lastTime_ = position;
        return position;
    }
    const double sample = position - wall;
    if (!locked_ || std::fabs(sample - offset_) > kResyncSeconds) {
        locked_ = true;
        offset_ = sample;
        samples_ = 1.0;
    } else {
        // A running mean over the first readings, then an exponential average over kAverageSeconds.
        // The offset never falls by more than half the frame's wall time, so the time always moves on.
        samples_ += 1.0;
        const double step = wall - lastWall_;
        const double weight = std::max(1.0 / samples_, std::min(1.0, step / kAverageSeconds));
        offset_ = std::max(offset_ + weight * (sample - offset_), offset_ - step / 2);
    }
    lastWall_ = wall;
    lastTime_ = std::max(lastTime_, wall + offset_);
    return lastTime_;
}
