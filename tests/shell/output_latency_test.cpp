// The output latency: the heard position is the mixed position less the latency, never before the
// start; the latency is the mixer's buffer until the server reports, then half the buffer plus the
// middle of the server's last readings, which one wild reading does not move and a reading a
// stalling or lying server gives is not taken at all.
#include <gtest/gtest.h>
#include "shell/OutputLatency.h"

TEST(OutputLatency, HeardPositionIsTheMixedPositionLessTheLatency)
{
    const struct {
        double mixed, latency, heard;
    } cases[] = {{10.0, 0.06, 9.94}, {0.05, 0.06, 0.0}, {0.0, 0.0, 0.0}, {3.5, 0.0, 3.5}};
    for (const auto& c : cases) EXPECT_NEAR(heardPosition(c.mixed, c.latency), c.heard, 1e-12) << c.mixed;
}

TEST(OutputLatency, TheBufferUntilTheServerReportsThenHalfOfItPlusTheMiddleReading)
{
    const double buffer = 1024.0 / 44100.0;
    OutputLatency latency(buffer);
    EXPECT_DOUBLE_EQ(latency.seconds(), buffer);
    latency.addServerReading(-0.001);
    latency.addServerReading(OutputLatency::kMaxSeconds + 0.1);
    EXPECT_EQ(latency.readings(), 0u);
    // A first run of readings at 0.5 s leaves the window entirely; then the sink's sawtooth (0.005
    // to 0.0282 s) seen at evenly spread moments, with one wild reading among them.
    for (size_t i = 0; i < OutputLatency::kWindow; ++i) latency.addServerReading(0.5);
    for (size_t i = 0; i < OutputLatency::kWindow; ++i)
        latency.addServerReading(i == 7 ? 1.9 : 0.005 + 0.0232 * static_cast<double>(i) / OutputLatency::kWindow);
    EXPECT_NEAR(latency.seconds(), buffer / 2 + 0.0166, 0.0005);
    EXPECT_EQ(latency.readings(), OutputLatency::kWindow);
}
