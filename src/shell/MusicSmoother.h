// A smooth music clock from a coarse one. The mixer reports the play position once per audio
// buffer (1024 frames at 44.1 kHz: steps of 23.2 ms), so at 60 frames per second about two frames
// in three would read the same time. The smoother instead runs the music time on the wall clock,
// at an offset that follows the mean of (position - wall clock): every frame gets a new, never
// decreasing time that stays within a few milliseconds of the reported one.
#pragma once

class MusicSmoother {
public:
    // Forgets everything: the next reading starts afresh (a new stream).
    void reset();
    // One reading per frame: the wall clock in milliseconds (never decreasing, any resolution), the
    // reported position in seconds, and whether the track is playing (or stalled) rather than
    // stopped or paused. Returns the music time in seconds. While not playing it is the reported
    // position. While playing it never decreases unless the reported position itself goes back by
    // more than kResyncSeconds (a restart of the track); when the position jumps ahead or falls
    // behind by more than that, the clock takes it up again from there (holding still rather than
    // going back). A position a little back (the heard position as the output latency's estimate
    // moves) is a reading like any other.
    double update(double wallMs, double position, bool playing);

    static constexpr double kResyncSeconds = 0.05;
    // Time constant of the offset's average: long enough to smooth the buffer steps away, short
    // enough to follow a slow drift between the sound card's clock and the wall clock.
    static constexpr double kAverageSeconds = 1.0;

private:
    bool locked_ = false;
    double offset_ = 0.0;   // music time minus wall clock, seconds
    double lastWall_ = 0.0; // seconds
    double lastPosition_ = 0.0;
    double lastTime_ = 0.0;
    double samples_ = 0.0; // readings since the clock was taken up
};
