// The smoothed music clock against a simulated mixer: the position advances in 1024-frame steps
// at 44.1 kHz (23.2 ms), each step landing with a jitter, and frames come at a jittered rate. Every
// frame must get a new, later time; the time minus the wall clock must scatter by at most 1.5 ms
// (standard deviation); a restart and the end of the track are followed.
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include "shell/MusicSmoother.h"

namespace {
constexpr double kStep = 1024.0 / 44100.0;

// Position the mixer reports at wall time `t` (seconds) for a track started at `start`: the steps
// that have landed so far, each late by up to `jitter` seconds.
struct SteppedSource {
    double start, jitter;
    std::mt19937 random{7};
    long landed = 0;
    double nextLanding = 0.0;
    double position(double t)
    {
        std::uniform_real_distribution<double> late(0.0, jitter);
        if (landed == 0 && nextLanding == 0.0) nextLanding = start + late(random);
        while (t >= nextLanding) nextLanding = start + ++landed * kStep + late(random);
        return t < start ? 0.0 : landed * kStep;
    }
};

struct Figures {
    double residualSdMs, worstLagMs;
    int notLater;
};

// Runs `seconds` of frames at `fps` (each frame late by up to `frameJitter` s) from a fresh clock
// and reports the scatter of (time - wall clock) after the first second, the largest distance from
// the true position, and the frames whose time was not later than the frame before.
Figures run(double fps, double frameJitter, double stepJitter, double seconds)
{
    MusicSmoother clock;
    SteppedSource source{0.0, stepJitter};
    std::mt19937 random(11);
    std::uniform_real_distribution<double> late(0.0, frameJitter);
    double sum = 0, sumSq = 0, previous = -1, worst = 0;
    int count = 0, notLater = 0;
    for (int frame = 0; frame < fps * seconds; ++frame) {
        const double wall = frame / fps + late(random);
        const double time = clock.update(wall * 1000.0, source.position(wall), true);
        if (time <= previous) ++notLater;
        previous = time;
        worst = std::max(worst, std::fabs(time - wall));
        if (wall < 1.0) continue;
        sum += time - wall;
        sumSq += (time - wall) * (time - wall);
        ++count;
    }
    const double mean = sum / count;
    return {1000.0 * std::sqrt(sumSq / count - mean * mean), 1000.0 * worst, notLater};
}
} // namespace

TEST(MusicSmoother, EveryFrameLaterAndSmoothAtCommonFrameRates)
{
    const struct { double fps, frameJitter, stepJitter; } cases[] = {
        {60, 0.001, 0.002}, {144, 0.0005, 0.002}, {30, 0.004, 0.004}, {75, 0.010, 0.003}};
    for (const auto& c : cases) {
        const Figures f = run(c.fps, c.frameJitter, c.stepJitter, 60.0);
        std::printf("%g fps: residual sd %.3f ms, largest distance %.1f ms, %d frames not later\n", c.fps,
                    f.residualSdMs, f.worstLagMs, f.notLater);
        EXPECT_LE(f.residualSdMs, 1.5) << c.fps;
        EXPECT_LE(f.worstLagMs, 30.0) << c.fps;
        EXPECT_EQ(f.notLater, 0) << c.fps;
    }
}

TEST(MusicSmoother, FollowsARestartAStallAndTheEnd)
{
    const auto stepped = [](double t) { return std::floor(t / kStep) * kStep; };
    MusicSmoother clock;
    double wall = 0;
    for (; wall < 5.0; wall += 1 / 60.0) clock.update(wall * 1000, stepped(wall), true);
    // The track starts over: the clock goes back with it.
    EXPECT_NEAR(clock.update(wall * 1000, 0.0, true), 0.0, 1e-9);
    // The position stops for half a second (a stall), then goes on: the time holds, never goes back,
    // and is close to the position again soon after.
    double previous = 0, last = 0;
    for (double t = 0; t < 2.0; t += 1 / 60.0) {
        const double position = t < 1.0 ? stepped(std::min(t, 0.5)) : stepped(t - 0.5);
        last = clock.update((wall + t) * 1000, position, true);
        EXPECT_GE(last, previous) << t;
        previous = last;
    }
    EXPECT_NEAR(last, 1.5, 0.03);
    // Stopped (the end of the track) or paused: the reported position as it is.
    EXPECT_EQ(clock.update((wall + 2.1) * 1000, 166.0, false), 166.0);
}
