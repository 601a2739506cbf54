// Command line and frame planning of the offline renderer.
#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <sys/stat.h>
#include <tuple>
#include <utility>
#include <vector>
#include "demo/ScriptEnd.h"
#include "render/RenderJobs.h"
#include "render/RenderOptions.h"
#include "render/RenderPlan.h"
#include "render/VideoEncoder.h"
#include "support/TempDir.h"

using Output = RenderOptions::Output;

namespace {
bool parse(std::vector<const char*> args, RenderOptions& o, std::string& error)
{
    return parseRenderOptions(int(args.size()), args.data(), o, error);
}
} // namespace

TEST(RenderOptions, AcceptedLinesAndRejectionsWithTheirReasons)
{
    // {arguments, output, path, start}
    const std::tuple<std::vector<const char*>, Output, const char*, double> accepted[] = {
        {{}, Output::Frames, "out", 0.0},
        {{"demo.MP4"}, Output::Video, "demo.MP4", 0.0},
        {{"frames.mp4.d"}, Output::Frames, "frames.mp4.d", 0.0},
        {{"--at", "42.5", "look.mp4"}, Output::SingleFrame, "look.mp4", 42.5}, // always one PNG
    };
    for (const auto& [args, output, path, start] : accepted) {
        RenderOptions o;
        std::string error;
        EXPECT_TRUE(parse(args, o, error)) << error;
        EXPECT_EQ(std::make_tuple(int(o.output), o.path, o.start),
                  std::make_tuple(int(output), std::string(path), start));
    }
    // Refusals: the reason names the option or the rule broken.
    const std::pair<std::vector<const char*>, const char*> refused[] = {
        {{"--fps"}, "--fps"},
        {{"--fps", "0"}, ""},
        {{"--fps", "241"}, ""},
        {{"--fps", "30x"}, ""},
        {{"--crf", ""}, "--crf"}, // 0 is a valid quality: an empty value must not read as 0
        {{"--start", "-1"}, ""},
        {{"--start", "nan"}, ""},
        {{"--start", "1e9"}, ""},
        {{"--start", "3s"}, ""},
        {{"--start", ""}, ""},
        {{"--start", "2", "--end", "2"}, "after"},
        {{"--at", "1"}, "output file"},
        {{"--at", "1", "a.png", "b"}, ""},
        {{"--at", "1", "a.png", "--end", "3"}, ""},
        {{"a", "b"}, "more than one"},
        {{"--frobnicate"}, "unknown option"},
        {{""}, ""},
        {{"--size", "1920"}, "WIDTHxHEIGHT"},
        {{"--size", "0x720"}, "WIDTHxHEIGHT"},
        {{"--size", "1280x0"}, "WIDTHxHEIGHT"},
        {{"--size", "3841x100"}, "3840"},
        {{"--size", "3840x2162"}, "3840x2160"},
        {{"--size", "1280x720x3"}, "WIDTHxHEIGHT"},
        {{"v.mp4", "--size", "1281x720"}, "even"},
        {{"--msaa", "3"}, "--msaa"},
        {{"--msaa", "0"}, "--msaa"},
        {{"--msaa", "64"}, "--msaa"},
        {{"--crf", "52"}, "--crf"},
        {{"--jobs", "0"}, "--jobs"},
        {{"--jobs", "65"}, "--jobs"},
        {{"--segment", "3/2"}, "--segment"},
        {{"--segment", "1/2", "--jobs", "2"}, "--jobs"},
        {{"--at", "1", "a.png", "--jobs", "2"}, "--jobs"},
        {{"frames", "--join", "2"}, ".mp4"},
        {{"--preset", "dvd"}, "compo or web"},
        {{"--preset"}, "compo or web"},
    };
    for (const auto& [args, reason] : refused) {
        RenderOptions o;
        std::string error;
        EXPECT_TRUE(!parse(args, o, error) && !error.empty() && error.find(reason) != std::string::npos)
            << args.back() << ": " << error;
    }
    RenderOptions o;
    std::string error;
    ASSERT_TRUE(parse({"--size", "1080x1920", "--segment", "2/3", "--msaa", "8", "--crf", "0"}, o, error)) << error;
    EXPECT_EQ(std::make_tuple(o.width, o.height, o.segment, o.segments, o.msaa, o.crf),
              std::make_tuple(1080, 1920, 2, 3, 8, 0));
}

// A preset sets size, rate and encoding; options beside it win wherever they stand; the encoding
// reaches ffmpeg's command line.
TEST(RenderOptions, PresetsAndTheOptionsBesideThem)
{
    // {arguments, width, height, fps, crf or 0 for constant bit rate, ffmpeg words in order}
    const std::tuple<std::vector<const char*>, int, int, uint32_t, std::string> cases[] = {
        {{"v.mp4", "--preset", "compo"}, 1920, 1080, 30,
         "-b:a 320k|-b:v 8000k -minrate 8000k -maxrate 8000k|nal-hrd=cbr|-profile:v main -level:v 4.1|"
         "-pix_fmt yuv420p -r 30 -movflags +faststart"},
        {{"v.mp4", "--preset", "web"}, 1920, 1080, 60, "-c:a aac -ac 2 -b:a 384k|-crf 18 -profile:v high|-r 60"},
        {{"--fps", "24", "v.mp4", "--preset", "compo", "--crf", "20", "--size", "1280x720"}, 1280, 720, 24,
         "-crf 20 -profile:v main -level:v 4.1|-r 24"},
        {{"v.mp4"}, 1280, 720, 60, "-b:a 192k|-crf 18 -pix_fmt"},
        // Beyond level 4.1 (a 4K frame, 1080p at 60 fps): no level, so x264 marks the right one.
        {{"v.mp4", "--preset", "compo", "--size", "3840x2160"}, 3840, 2160, 30, "-profile:v main -pix_fmt"},
        {{"v.mp4", "--preset", "compo", "--fps", "60"}, 1920, 1080, 60, "-profile:v main -pix_fmt"},
    };
    for (const auto& [args, width, height, fps, words] : cases) {
        RenderOptions o;
        std::string error;
        ASSERT_TRUE(parse(args, o, error)) << error;
        EXPECT_EQ(std::make_tuple(o.width, o.height, o.fps), std::make_tuple(width, height, fps)) << words;
        VideoSettings v;
        v.path = o.path, v.fps = o.fps, v.crf = o.crf, v.videoKbps = o.videoKbps, v.profile = o.profile;
        v.level = o.level, v.audioKbps = o.audioKbps, v.musicPath = "m.ogg";
        std::string line;
        for (const std::string& word : ffmpegArguments(v)) line += word + " ";
        size_t at = 0;
        for (size_t from = 0; from <= words.size();) {
            const size_t bar = std::min(words.find('|', from), words.size());
            at = line.find(words.substr(from, bar - from), at);
            EXPECT_NE(at, std::string::npos) << words.substr(from, bar - from) << " not in order in " << line;
            from = bar + 1;
        }
    }
}

TEST(RenderPlan, FrameTimesAndRangesFromOptionsEndAndMusic)
{
    EXPECT_EQ(frameAt(1.1, 50), 55u); // 1.1 * 50 lies a hair above 55
    EXPECT_EQ(frameAt(1.01, 60), 61u);
    EXPECT_EQ(frameOfEnd(-1.0, 60), 0u);
    // At 7 fps frame 1 reads 142 ms (below 0.1425) and frame 2 reads 285 ms: END runs in frame 2.
    EXPECT_EQ(frameOfEnd(0.1425, 7), 2u);

    // {what, output, start, end, END time, music length, planned, the plan's first and end frames}
    const std::tuple<const char*, Output, double, double, double, double, bool, uint64_t, uint64_t> cases[] = {
        {"END bounds a later --end", Output::Frames, 0.0, 10.0, 3.0, -1.0, true, 0, 181},
        {"no END: the music", Output::Frames, 0.5, -1.0, kNoEnd, 2.25, true, 30, 135},
        {"no END, no --end, no music", Output::Frames, 0.5, -1.0, kNoEnd, -1.0, false, 0, 0},
        {"one frame before END", Output::SingleFrame, 3.0, -1.0, 3.0, -1.0, true, 180, 181},
    };
    for (const auto& [what, output, start, end, endTime, music, ok, first, last] : cases) {
        RenderOptions o;
        o.output = output, o.start = start, o.end = end;
        FramePlan plan;
        std::string error;
        ASSERT_EQ(planFrames(o, endTime, music, plan, error), ok) << what;
        if (ok)
            EXPECT_EQ(std::make_pair(plan.first, plan.end), std::make_pair(first, last)) << what;
        else
            EXPECT_FALSE(error.empty()) << what;
    }

    // Segments are consecutive and cover the plan; more segments than frames leave some empty.
    const FramePlan ten{5, 15};
    uint64_t next = ten.first;
    for (int k = 1; k <= 3; ++k) {
        const FramePlan part = segmentOf(ten, k, 3);
        EXPECT_EQ(part.first, next);
        EXPECT_GE(part.end - part.first, 3u);
        next = part.end;
    }
    EXPECT_EQ(next, ten.end);
    EXPECT_EQ(segmentOf({0, 2}, 1, 3).first, segmentOf({0, 2}, 1, 3).end);
    EXPECT_EQ(segmentPath("out/show.MP4", 2, 4), "out/show.part2of4.MP4");
}

TEST(ScriptEnd, FindsEndLinesAsTheInterpreterCutsThem)
{
    // Cut at commas too, as the interpreter does; in "3 END" END is the instance name.
    const std::pair<const char*, bool> lines[] = {
        {"3 cam END", true},  {"3 x,END,extra words", true}, {"3 END", false}, {"3 END scale 2", false},
        {"3 cam end", false}, {"3 cam ENDING", false},       {nullptr, false}};
    for (const auto& [line, end] : lines) EXPECT_EQ(isEndLine(line), end) << (line ? line : "null");

    char a[] = "5 a END", b[] = "2 b END", c[] = "1 c setpoint 1 2 3";
    std::vector<ScriptEvent> events = {{5.0, a, false}, {2.0, b, false}, {1.0, c, false}};
    EXPECT_EQ(firstPendingEndTime(events), 2.0);
    EXPECT_STREQ(b, "2 b END"); // the line is not cut
    events[1].done = true;
    EXPECT_EQ(firstPendingEndTime(events), 5.0);

    // From a file; a FIFO in the script's place is no script (no wait for a writer).
    ScopedWorkDir dir;
    dir.write("script.txt", "1 a setpoint 1 2 3\n4 a END\n");
    EXPECT_EQ(std::make_pair(scriptEndTime("script.txt"), ::mkfifo("fifo.txt", 0600)), std::make_pair(4.0, 0));
    EXPECT_EQ(scriptEndTime("fifo.txt"), kNoEnd);
}
