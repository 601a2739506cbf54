// The smoothed music clock against a simulated mixer whose position advances in 1024-frame steps
// at 44.1 kHz (23.2 ms), each step late by a random jitter, read by frames that come at a jittered
// rate. Every frame must get a later time, and the time minus the wall clock must scatter by at
// most 1.5 ms (standard deviation); a jump, a pause, a restart, a stall and the end of the track are
// followed. With
// the output latency taken off, the clock follows the time heard, not the decoder.
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include "shell/MusicSmoother.h"
#include "shell/OutputLatency.h"

namespace {
constexpr double kStep = 1024.0 / 44100.0;
double stepped(double t)
{
    return std::floor(t / kStep) * kStep;
}
} // namespace

TEST(MusicSmoother, EveryFrameLaterAndSmoothAtCommonFrameRates)
{
    const struct {
        double fps, frameJitter, stepJitter;
    } cases[] = {{60, 0.001, 0.002}, {144, 0.0005, 0.002}, {30, 0.004, 0.004}, {75, 0.010, 0.003}};
    for (const auto& c : cases) {
        MusicSmoother clock;
        std::mt19937 random(7);
        std::uniform_real_distribution<double> unit(0.0, 1.0);
        // Step n lands at n * kStep plus its jitter; the mixer reports the steps landed so far.
        double landing = kStep + c.stepJitter * unit(random), position = 0, previous = -1, sum = 0, sumSq = 0;
        int count = 0, notLater = 0;
        for (int frame = 0; frame < 60 * c.fps; ++frame) {
            const double wall = frame / c.fps + c.frameJitter * unit(random);
            for (; landing <= wall; landing = position + kStep + c.stepJitter * unit(random)) position += kStep;
            const double time = clock.update(wall * 1000.0, position, true);
            notLater += time <= previous;
            previous = time;
            if (wall < 1.0) continue; // settling
            sum += time - wall, sumSq += (time - wall) * (time - wall), ++count;
        }
        const double sd = 1000.0 * std::sqrt(sumSq / count - (sum / count) * (sum / count));
        std::printf("%g fps: residual sd %.3f ms, %d frames not later\n", c.fps, sd, notLater);
        EXPECT_LE(sd, 1.5) << c.fps;
        EXPECT_EQ(notLater, 0) << c.fps;
    }
}

TEST(MusicSmoother, FollowsAJumpAPauseARestartAStallAndTheEnd)
{
    MusicSmoother clock;
    double wall = 0;
    for (; wall < 5.0; wall += 1 / 60.0) clock.update(wall * 1000, stepped(wall), true);
    EXPECT_NEAR(clock.update(wall * 1000, 30.0, true), 30.0, 1e-9); // a jump ahead (a seek) is taken up at once
    // Paused for a frame, then played on from where it stood: from there, never ahead of the music.
    EXPECT_EQ(clock.update(wall * 1000 + 20, 30.0, false), 30.0);
    for (double t = 0; t < 0.5; t += 1 / 60.0)
        EXPECT_LE(clock.update((wall + 0.04 + t) * 1000, 30.0 + stepped(t), true), 30.0 + t + 0.002) << t;
    wall += 0.6;
    EXPECT_NEAR(clock.update(wall * 1000, 0.0, true), 0.0, 1e-9); // the track starts over: so does the clock
    // The position stops for half a second, then goes on: the time holds, never going back, and is
    // close to the position again soon after.
    double previous = 0, last = 0;
    for (double t = 0; t < 2.0; t += 1 / 60.0) {
        last = clock.update((wall + t) * 1000, t < 1.0 ? stepped(std::min(t, 0.5)) : stepped(t - 0.5), true);
        EXPECT_GE(last, previous) << t;
        previous = last;
    }
    EXPECT_NEAR(last, 1.5, 0.03);
    EXPECT_EQ(clock.update((wall + 2.1) * 1000, 166.0, false), 166.0); // stopped or paused: as reported
}

// The mixer runs ahead of the ear by the sink's queue (35 ms, less up to one buffer as the sink
// drains it) and half a buffer on average in the stream's queue; the server's readings of the sink's
// part come every 25 ms or so into the latency, so the heard position the clock is given wobbles
// back and forth by fractions of a millisecond between buffers. The clock must run on the time
// heard (the wall clock here), every frame later.
TEST(MusicSmoother, FollowsTheTimeHeardWhenTheLatencyIsTakenOff)
{
    constexpr double kSink = 0.035;
    std::mt19937 random(3);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    OutputLatency latency(kStep);
    const auto mixed = [](double wall) { return stepped(wall + kSink + kStep / 2); };
    double nextReading = -0.2; // the readings taken while the device opened
    MusicSmoother clock;
    double previous = -1, sum = 0, sumSq = 0;
    int count = 0, notLater = 0;
    for (double wall = 0; wall < 20.0; wall += (1 + 0.2 * unit(random)) / 60) {
        for (; nextReading <= wall; nextReading += 0.020 + 0.010 * unit(random))
            latency.addServerReading(mixed(nextReading) - kStep / 2 - nextReading);
        const double time = clock.update(wall * 1000.0, heardPosition(mixed(wall), latency.seconds()), true);
        notLater += time <= previous;
        previous = time;
        if (wall < 1.0) continue;
        sum += time - wall, sumSq += (time - wall) * (time - wall), ++count;
    }
    const double mean = 1000.0 * sum / count, sd = 1000.0 * std::sqrt(sumSq / count - (sum / count) * (sum / count));
    EXPECT_NEAR(mean, 0.0, 2.0);
    EXPECT_LE(sd, 1.5);
    EXPECT_EQ(notLater, 0);
}

// Right after the clock takes the music up (on a reading just as a step lands, so the average has a
// half step to come down), one long frame (a start-up event loading its textures) and then short
// ones (1.5 ms: a light scene), many to each 23.2 ms step while the average still moves fast: every
// frame later, and on the music within half a second.
TEST(MusicSmoother, ALongFrameRightAfterTakingUpThenShortOnes)
{
    MusicSmoother clock;
    double previous = clock.update(0.0, 0.0, true), last = 0;
    int notLater = 0;
    double wall = 0.1;
    for (; wall < 0.6; wall += 0.0015) {
        last = clock.update(wall * 1000, stepped(wall), true);
        notLater += last <= previous;
        previous = last;
    }
    EXPECT_EQ(notLater, 0);
    EXPECT_NEAR(last, wall - 0.0015 - kStep / 2, 0.002); // the steps lag by half a step on average
}
