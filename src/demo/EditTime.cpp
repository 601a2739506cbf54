// The play loop, frame steps and mark text.
#include "demo/EditTime.h"
#include <algorithm>
#include <cstdio>

PlayLoop withLoopIn(PlayLoop loop, double t)
{
    loop.in = t;
    if (loop.out <= t) loop.out = -1.0;
    return loop;
}

PlayLoop withLoopOut(PlayLoop loop, double t)
{
    loop.out = t;
    if (loop.in >= t) loop.in = 0.0;
    return loop;
}

double keptInLoop(const PlayLoop& loop, double t)
{
    if (!loop.on || !loop.playable()) return t;
    return t < loop.in || t >= loop.out ? loop.in : t;
}

double steppedFrames(double t, int frames)
{
    return std::max(0.0, t + frames * kEditFrameSeconds);
}

std::string markText(double seconds, const TempoMap& tempo, bool sixteenth)
{
    const double t = sixteenth ? tempo.nearestSixteenth(seconds) : seconds;
    char text[64];
    std::snprintf(text, sizeof text, "Mark: %.3f", t);
    if (tempo.empty()) return text;
    const BarBeat at = tempo.barBeatAt(t);
    return std::string(text) + (at.bar < 1 ? " (before bar 1)" : " (" + formatBarBeat(at) + ")");
}
