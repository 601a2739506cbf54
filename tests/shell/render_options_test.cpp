// Command line and frame planning of the offline renderer.
#include <gtest/gtest.h>
#include <cmath>
#include <vector>
#include "demo/ClockSource.h"
#include "demo/ScriptEnd.h"
#include "shell/RenderOptions.h"
#include "shell/RenderPlan.h"

namespace {
bool parse(std::vector<const char*> args, RenderOptions& o, std::string& error)
{
    return parseRenderOptions(static_cast<int>(args.size()), args.data(), o, error);
}

RenderOptions parsed(std::vector<const char*> args)
{
    RenderOptions o;
    std::string error;
    EXPECT_TRUE(parse(args, o, error)) << error;
    return o;
}

std::string rejection(std::vector<const char*> args)
{
    RenderOptions o;
    std::string error;
    EXPECT_FALSE(parse(args, o, error));
    return error;
}
} // namespace

TEST(RenderOptions, DefaultsAndOutputKinds)
{
    const RenderOptions none = parsed({});
    EXPECT_EQ(none.output, RenderOptions::Output::Frames);
    EXPECT_EQ(none.path, "out");
    EXPECT_EQ(none.fps, 60u);
    EXPECT_EQ(none.start, 0.0);
    EXPECT_LT(none.end, 0.0);

    EXPECT_EQ(parsed({"demo.MP4"}).output, RenderOptions::Output::Video);
    EXPECT_EQ(parsed({"frames.mp4.d"}).output, RenderOptions::Output::Frames);
    const RenderOptions all = parsed({"--fps", "30", "v.mp4", "--start", "1.5", "--end", "4"});
    EXPECT_EQ(all.fps, 30u);
    EXPECT_EQ(all.start, 1.5);
    EXPECT_EQ(all.end, 4.0);
    EXPECT_EQ(all.path, "v.mp4");

    const RenderOptions at = parsed({"--at", "42.5", "look.mp4"});
    EXPECT_EQ(at.output, RenderOptions::Output::SingleFrame); // --at always writes one PNG
    EXPECT_EQ(at.start, 42.5);
    EXPECT_EQ(at.path, "look.mp4");
    EXPECT_TRUE(parsed({"--help"}).help);
}

TEST(RenderOptions, RejectsBadValuesAndCombinations)
{
    EXPECT_NE(rejection({"--fps"}).find("--fps"), std::string::npos);
    for (const char* fps : {"0", "241", "-5", "30x", "2.5", ""}) EXPECT_FALSE(rejection({"--fps", fps}).empty()) << fps;
    for (const char* t : {"-1", "nan", "inf", "1e9", "3s", ""}) EXPECT_FALSE(rejection({"--start", t}).empty()) << t;
    EXPECT_NE(rejection({"--start", "2", "--end", "2"}).find("after"), std::string::npos);
    EXPECT_NE(rejection({"--end", "1", "--start", "3"}).find("after"), std::string::npos);
    EXPECT_NE(rejection({"--at", "1"}).find("output file"), std::string::npos);
    EXPECT_FALSE(rejection({"--at", "1", "a.png", "b"}).empty());
    EXPECT_FALSE(rejection({"--at", "1", "a.png", "--end", "3"}).empty());
    EXPECT_NE(rejection({"a", "b"}).find("more than one"), std::string::npos);
    EXPECT_NE(rejection({"--frobnicate"}).find("unknown option"), std::string::npos);
    EXPECT_FALSE(rejection({""}).empty());
}

TEST(RenderPlan, FrameClockAndFrameTimes)
{
    // The plan's clock is the frame clock's reading, truncated to whole milliseconds.
    FrameClock clock(60);
    for (uint64_t n = 0; n < 500; ++n, clock.advance())
        EXPECT_EQ(frameClockSeconds(n, 60), clock.milliseconds() / 1000.0) << n;
    EXPECT_EQ(frameAt(0.0, 60), 0u);
    EXPECT_EQ(frameAt(1.0, 60), 60u);
    EXPECT_EQ(frameAt(0.1, 30), 3u); // 0.1 * 30 lies a hair above 3
    EXPECT_EQ(frameAt(1.01, 60), 61u);
    // END at 1.5 runs in the first frame whose clock is above 1.5: frame 90 reads exactly 1.5.
    EXPECT_EQ(frameOfEnd(1.5, 60), 91u);
    EXPECT_EQ(frameOfEnd(0.0, 60), 1u);
    EXPECT_EQ(frameOfEnd(-1.0, 60), 0u);
    // At 7 fps frame 1 reads 142 ms (below 0.1425) and frame 2 reads 285 ms: END runs in frame 2.
    EXPECT_EQ(frameOfEnd(0.1425, 7), 2u);
}

TEST(RenderPlan, RangesFromOptionsEndAndMusic)
{
    RenderOptions o;
    FramePlan plan;
    std::string error;
    // The script's END bounds the default range, and an explicit --end beyond it.
    ASSERT_TRUE(planFrames(o, 3.0, 120.0, plan, error));
    EXPECT_EQ(plan.first, 0u);
    EXPECT_EQ(plan.end, 181u);
    o.end = 10.0;
    ASSERT_TRUE(planFrames(o, 3.0, -1.0, plan, error));
    EXPECT_EQ(plan.end, 181u);
    // Without END: --end, else the music's length, else a refusal.
    o.start = 0.5;
    o.end = 1.0;
    ASSERT_TRUE(planFrames(o, kNoEnd, -1.0, plan, error));
    EXPECT_EQ(plan.first, 30u);
    EXPECT_EQ(plan.end, 60u);
    o.end = -1.0;
    ASSERT_TRUE(planFrames(o, kNoEnd, 2.25, plan, error));
    EXPECT_EQ(plan.end, 135u);
    EXPECT_FALSE(planFrames(o, kNoEnd, -1.0, plan, error));
    EXPECT_NE(error.find("--end"), std::string::npos);
    // Nothing to render: the start at or after END's frame, or an END at start-up.
    o.start = 3.1;
    EXPECT_FALSE(planFrames(o, 3.0, -1.0, plan, error));
    o.start = 0.0;
    EXPECT_FALSE(planFrames(o, -1.0, -1.0, plan, error));
    // One frame at a time: the frame at the time, unless END came first.
    o.output = RenderOptions::Output::SingleFrame;
    o.start = 3.0;
    ASSERT_TRUE(planFrames(o, 3.0, -1.0, plan, error));
    EXPECT_EQ(plan.first, 180u);
    EXPECT_EQ(plan.end, 181u);
    o.start = 3.02;
    EXPECT_FALSE(planFrames(o, 3.0, -1.0, plan, error));
}

TEST(ScriptEnd, FindsEndLinesAsTheInterpreterCutsThem)
{
    EXPECT_TRUE(isEndLine("3 cam END"));
    EXPECT_TRUE(isEndLine("3 x,END,extra words"));
    EXPECT_FALSE(isEndLine("3 END"));         // "END" as the instance name
    EXPECT_FALSE(isEndLine("3 cam end"));     // case matters
    EXPECT_FALSE(isEndLine("3 cam ENDING"));
    EXPECT_TRUE(isEndLine("3  END"));         // an empty instance name, then END as the command
    EXPECT_FALSE(isEndLine(nullptr));

    char a[] = "5 a END", b[] = "2 b END", c[] = "1 c setpoint 1 2 3";
    std::vector<ScriptEvent> events = {{5.0, a, false}, {2.0, b, false}, {1.0, c, false}};
    EXPECT_EQ(firstPendingEndTime(events), 2.0);
    EXPECT_STREQ(b, "2 b END"); // the line is not cut
    events[1].done = true;
    EXPECT_EQ(firstPendingEndTime(events), 5.0);
    events[0].done = true;
    EXPECT_EQ(firstPendingEndTime(events), kNoEnd);
}
