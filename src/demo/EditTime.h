// Time keeping of the editor that is plain arithmetic: the play loop, frame steps and the text of
// a mark, with its bar and beat when the script has a tempo.
#pragma once
#include <string>
#include "script/TempoMap.h"

constexpr double kEditFrameSeconds = 1.0 / 60.0; // one step of "," and "."

// A stretch the editor plays again and again while `on`: from `in` up to `out`. Without an out
// point after the in point there is no loop to play.
struct PlayLoop {
    double in = 0.0;
    double out = -1.0;
    bool on = false;
    bool playable() const { return out > in; }
};

// The loop with its in point (out point) at `t`; an out point (in point) on the wrong side of it
// is dropped.
PlayLoop withLoopIn(PlayLoop loop, double t);
PlayLoop withLoopOut(PlayLoop loop, double t);
// Where the cursor goes for a time `t`: while a playable loop is on, a time before its in point
// or at or after its out point goes back to the in point; otherwise `t` itself.
double keptInLoop(const PlayLoop& loop, double t);
// `frames` steps of kEditFrameSeconds on from `t` (back when negative), never before 0.
double steppedFrames(double t, int frames);
// "Mark: T" with T in seconds (3 decimals), then " (BAR:BEAT)" as a script line writes the
// position when there is a tempo (" (before bar 1)" for a time before it). With `sixteenth`, the
// nearest sixteenth note is marked instead of `seconds` itself (without a tempo, `seconds`).
std::string markText(double seconds, const TempoMap& tempo, bool sixteenth);
