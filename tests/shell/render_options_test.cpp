// Command line and frame planning of the offline renderer, and the END lines it plans by.
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <utility>
#include <vector>
#include "demo/ScriptEnd.h"
#include "render/RenderOptions.h"
#include "render/RenderPlan.h"

using Output = RenderOptions::Output;

TEST(RenderOptions, AcceptedLinesAndRejectionsWithTheirReasons)
{
    const struct { std::vector<const char*> args; Output output; const char* path; double start; } accepted[] = {
        {{}, Output::Frames, "out", 0.0},
        {{"demo.MP4"}, Output::Video, "demo.MP4", 0.0},
        {{"frames.mp4.d"}, Output::Frames, "frames.mp4.d", 0.0},
        {{"--at", "42.5", "look.mp4"}, Output::SingleFrame, "look.mp4", 42.5},  // always one PNG
    };
    for (const auto& a : accepted) {
        RenderOptions o;
        std::string error;
        EXPECT_TRUE(parseRenderOptions(int(a.args.size()), a.args.data(), o, error)) << error;
        EXPECT_EQ(std::make_tuple(int(o.output), o.path, o.start), std::make_tuple(int(a.output), std::string(a.path), a.start));
    }
    // {arguments, a part of the reason}
    const std::pair<std::vector<const char*>, const char*> rejected[] = {
        {{"--fps"}, "--fps"}, {{"--fps", "0"}, ""}, {{"--fps", "241"}, ""}, {{"--fps", "-5"}, ""}, {{"--fps", "30x"}, ""},
        {{"--fps", "2.5"}, ""}, {{"--fps", ""}, ""}, {{"--start", "-1"}, ""}, {{"--start", "nan"}, ""},
        {{"--start", "inf"}, ""}, {{"--start", "1e9"}, ""}, {{"--start", "3s"}, ""}, {{"--start", ""}, ""},
        {{"--start", "2", "--end", "2"}, "after"}, {{"--at", "1"}, "output file"}, {{"--at", "1", "a.png", "b"}, ""},
        {{"--at", "1", "a.png", "--end", "3"}, ""}, {{"a", "b"}, "more than one"}, {{"--frobnicate"}, "unknown option"},
        {{""}, ""}};
    for (const auto& [args, reason] : rejected) {
        RenderOptions o;
        std::string error;
        EXPECT_FALSE(parseRenderOptions(int(args.size()), args.data(), o, error)) << args.back();
        EXPECT_FALSE(error.empty()) << args.back();
        EXPECT_NE(error.find(reason), std::string::npos) << error;
    }
}

TEST(RenderPlan, FrameTimesAndRangesFromOptionsEndAndMusic)
{
    EXPECT_EQ(frameAt(8.3, 30), 249u); // 8.3 * 30 lies a hair above 249
    EXPECT_EQ(frameAt(1.01, 60), 61u);
    EXPECT_EQ(frameOfEnd(-1.0, 60), 0u);
    // At 7 fps frame 1 reads 142 ms (below 0.1425) and frame 2 reads 285 ms: END runs in frame 2.
    EXPECT_EQ(frameOfEnd(0.1425, 7), 2u);
    const struct {
        const char* what;
        Output output;
        double start, end, endTime, music;
        bool ok;
        uint64_t first, last;  // the plan's first and end frames
    } cases[] = {
        {"END bounds a later --end", Output::Frames, 0.0, 10.0, 3.0, -1.0, true, 0, 181},
        {"no END: the music", Output::Frames, 0.5, -1.0, kNoEnd, 2.25, true, 30, 135},
        {"no END, no --end, no music", Output::Frames, 0.5, -1.0, kNoEnd, -1.0, false, 0, 0},
        {"one frame before END", Output::SingleFrame, 3.0, -1.0, 3.0, -1.0, true, 180, 181},
    };
    for (const auto& c : cases) {
        RenderOptions o;
        o.output = c.output;
        o.start = c.start;
        o.end = c.end;
        FramePlan plan;
        std::string error;
        ASSERT_EQ(planFrames(o, c.endTime, c.music, plan, error), c.ok) << c.what;
        if (c.ok) EXPECT_EQ(std::make_pair(plan.first, plan.end), std::make_pair(c.first, c.last)) << c.what;
        else EXPECT_FALSE(error.empty()) << c.what;
    }
}

TEST(ScriptEnd, FindsEndLinesAsTheInterpreterCutsThem)
{
    const std::pair<const char*, bool> lines[] = {
        {"3 cam END", true}, {"3 x,END,extra words", true},  // cut at commas too, as the interpreter does
        {"3 END", false},  // "END" as the instance name
        {"3 cam end", false}, {"3 cam ENDING", false}, {nullptr, false}};
    for (const auto& [line, end] : lines) EXPECT_EQ(isEndLine(line), end) << (line ? line : "null");
    char a[] = "5 a END", b[] = "2 b END", c[] = "1 c setpoint 1 2 3";
    std::vector<ScriptEvent> events = {{5.0, a, false}, {2.0, b, false}, {1.0, c, false}};
    EXPECT_EQ(firstPendingEndTime(events), 2.0);
    EXPECT_STREQ(b, "2 b END"); // the line is not cut
    events[1].done = true;
    EXPECT_EQ(firstPendingEndTime(events), 5.0);
}
