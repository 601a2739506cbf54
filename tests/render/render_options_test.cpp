// Command line, frame planning and parallel jobs of the offline renderer.
#include <gtest/gtest.h>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <tuple>
#include <utility>
#include <vector>
#include "demo/ClockSource.h"
#include "demo/ScriptEnd.h"
#include "render/RenderJobs.h"
#include "render/RenderOptions.h"
#include "render/RenderPlan.h"
#include "render/VideoEncoder.h"
#include "support/TempDir.h"

using Output = RenderOptions::Output;

namespace {
// A command line given as one string, split at spaces ('' is an empty argument).
bool parse(const std::string& line, RenderOptions& o, std::string& error)
{
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word == "''" ? "" : word);
    std::vector<const char*> argv;
    for (const std::string& word : words) argv.push_back(word.c_str());
    return parseRenderOptions(int(argv.size()), argv.data(), o, error);
}

// Every field of parsed options, for comparing whole option sets.
std::string fields(const RenderOptions& o)
{
    char text[256];
    std::snprintf(text, sizeof text,
                  "%d %s fps %u %.9g..%.9g %dx%d msaa %d crf %d%s [%s %s %s] %d/%d jobs %d %d/%d join %d fd %d",
                  int(o.output), o.path.c_str(), o.fps, o.start, o.end, o.width, o.height, o.msaa, o.crf,
                  o.crfGiven ? "!" : "", o.preset.c_str(), o.profile.c_str(), o.level.c_str(), o.videoKbps, o.audioKbps,
                  o.jobs, o.segment, o.segments, o.join, o.progressFd);
    return text;
}
} // namespace

// Both sides of every bound and rule: the value at the bound is taken, the one past it refused with
// a reason that names the option or the rule broken. A preset sets size, rate and encoding; options
// beside it win wherever they stand. The command line of each of --jobs N, read back, gives the same
// options with its segment and progress descriptor.
TEST(RenderOptions, EveryBoundAndRuleFromBothSidesAndPresets)
{
    const std::pair<const char*, const char*> accepted[] = {
        {"", "0 out fps 60 0..-1 1280x720 msaa 1 crf 18 [  ] 0/192 jobs 1 0/0 join 0 fd -1"},
        {"demo.MP4 --size 3840x2160 --msaa 32 --crf 51 --jobs 64 --fps 240",
         "1 demo.MP4 fps 240 0..-1 3840x2160 msaa 32 crf 51! [  ] 0/192 jobs 64 0/0 join 0 fd -1"},
        {"frames.mp4.d --size 1x3840 --fps 1 --crf 0 --start 86399.999 --end 86400",
         "0 frames.mp4.d fps 1 86399.999..86400 1x3840 msaa 1 crf 0! [  ] 0/192 jobs 1 0/0 join 0 fd -1"},
        {"--size 2159x3840 --segment 10000/10000 --progress-fd 1023", // portrait; odd: frames
         "0 out fps 60 0..-1 2159x3840 msaa 1 crf 18 [  ] 0/192 jobs 1 10000/10000 join 0 fd 1023"},
        {"--segment 1/1 --progress-fd 0 --msaa 1 --jobs 1",
         "0 out fps 60 0..-1 1280x720 msaa 1 crf 18 [  ] 0/192 jobs 1 1/1 join 0 fd 0"},
        {"v.mp4 --join 10000 --end 0.001",
         "1 v.mp4 fps 60 0..0.001 1280x720 msaa 1 crf 18 [  ] 0/192 jobs 1 0/0 join 10000 fd -1"},
        {"--at 42.5 look.mp4 --size 3x3", // always one PNG, of any size
         "2 look.mp4 fps 60 42.5..-1 3x3 msaa 1 crf 18 [  ] 0/192 jobs 1 0/0 join 0 fd -1"},
        {"v.mp4 --preset compo --jobs 2 --start 1.2345678901234567",
         "1 v.mp4 fps 30 1.23456789..-1 1920x1080 msaa 1 crf 18 [compo main 4.1] 8000/320 jobs 2 0/0 join 0 fd -1"},
        {"v.mp4 --preset web --jobs 3 --crf 0 --msaa 4",
         "1 v.mp4 fps 60 0..-1 1920x1080 msaa 4 crf 0! [web high ] 0/384 jobs 3 0/0 join 0 fd -1"},
        // 2048x1024 at 30 fps: level 4.1's macroblocks a frame and a second, both to the last one.
        {"--fps 30 v.mp4 --preset compo --crf 20 --size 2048x1024 --end 7.3 --jobs 2",
         "1 v.mp4 fps 30 0..7.3 2048x1024 msaa 1 crf 20! [compo main 4.1] 0/320 jobs 2 0/0 join 0 fd -1"},
        // Beyond level 4.1 (a 4K frame, 1080p at 60 fps): no level, so x264 marks the right one.
        {"v.mp4 --preset compo --size 3840x2160",
         "1 v.mp4 fps 30 0..-1 3840x2160 msaa 1 crf 18 [compo main ] 8000/320 jobs 1 0/0 join 0 fd -1"},
        {"v.mp4 --preset compo --fps 60",
         "1 v.mp4 fps 60 0..-1 1920x1080 msaa 1 crf 18 [compo main ] 8000/320 jobs 1 0/0 join 0 fd -1"},
    };
    for (const auto& [line, expected] : accepted) {
        RenderOptions o;
        std::string error;
        EXPECT_TRUE(parse(line, o, error)) << line << ": " << error;
        EXPECT_EQ(fields(o), expected) << line;
        for (int k = 1; k <= o.jobs && o.jobs > 1; ++k) {
            const std::vector<std::string> args = jobArguments(o, k, 9);
            std::string text, jobError;
            for (size_t i = 1; i < args.size(); ++i) text += args[i] + " ";
            RenderOptions job, whole = o;
            EXPECT_TRUE(parse(text, job, jobError)) << jobError;
            whole.jobs = 1, whole.segment = k, whole.segments = o.jobs, whole.progressFd = 9;
            job.crfGiven = o.crfGiven; // the crf is passed on whenever it is in force
            EXPECT_EQ(fields(job), fields(whole)) << text;
            EXPECT_EQ(std::make_pair(job.start, job.end), std::make_pair(o.start, o.end)) << text; // to the bit
        }
    }
    // One refusal a line: "ARGUMENTS|REASON".
    std::istringstream refused(
        "--fps|--fps\n--fps 0|--fps\n--fps 241|--fps\n--fps 30x|--fps\n--fps=30|unknown option\n"
        "--frobnicate|unknown option\na b|more than one\n''|empty\n--crf ''|--crf\n--crf 52|--crf\n"
        "--crf -1|--crf\n--start -1|--start\n--start nan|--start\n--start 86400.001|--start\n"
        "--start 3s|--start\n--start ''|--start\n--end 1e9|--end\n--start 2 --end 2|after\n--end 0|after\n"
        "--at 1|output file\n--at 1 ''|output file\n--at -1 a.png|--at\n--at 1 a.png b|own output\n"
        "--at 1 a.png --start 0|--start\n--size 1920|WIDTHxHEIGHT\n--size 0x720|WIDTHxHEIGHT\n"
        "--size 1280x0|WIDTHxHEIGHT\n--size 3841x100|3840\n--size 100x3841|3840\n--size 3840x2161|3840x2160\n"
        "--size 2161x3840|3840x2160\n--size 1280x720x3|WIDTHxHEIGHT\n--size 1280*720|WIDTHxHEIGHT\n"
        "v.mp4 --size 1281x720|even\nv.mp4 --size 1280x721|even\n--msaa 3|--msaa\n--msaa 0|--msaa\n"
        "--msaa 64|--msaa\n--jobs 0|--jobs\n--jobs 65|--jobs\n--segment 3/2|--segment\n"
        "--segment 0/2|--segment\n--segment 1-2|--segment\n--segment 10001/10001|--segment\n"
        "--segment 1/2 --jobs 2|--jobs\n--jobs 2 --segment 2/2|--jobs\n--at 1 a.png --jobs 2|--jobs\n"
        "--at 1 a.png --segment 1/2|--segment\n--at 1 a.png --join 2|--join\nframes --join 2|.mp4\n"
        "v.mp4 --join 0|--join\nv.mp4 --join 10001|--join\nv.mp4 --join 2 --jobs 2|--jobs\n"
        "v.mp4 --join 2 --segment 1/2|--segment\n--progress-fd 1024|--progress-fd\n"
        "--progress-fd -1|--progress-fd\n--preset dvd|compo or web\n--preset|compo or web\n");
    for (std::string row; std::getline(refused, row);) {
        RenderOptions o;
        std::string error;
        const size_t bar = row.find('|');
        EXPECT_TRUE(!parse(row.substr(0, bar), o, error) && error.find(row.substr(bar + 1)) != std::string::npos)
            << row << ": " << error;
    }
    // The compo encoding reaches ffmpeg's command line.
    RenderOptions o;
    std::string error, line;
    ASSERT_TRUE(parse("v.mp4 --preset compo", o, error));
    VideoSettings v;
    v.path = o.path, v.fps = o.fps, v.crf = o.crf, v.videoKbps = o.videoKbps, v.profile = o.profile;
    v.level = o.level, v.audioKbps = o.audioKbps, v.musicPath = "m.ogg";
    for (const std::string& word : ffmpegArguments(v)) line += word + " ";
    EXPECT_NE(
        line.find("-b:a 320k -c:v libx264 -preset medium -b:v 8000k -minrate 8000k -maxrate 8000k -bufsize 8000k "
                  "-x264-params nal-hrd=cbr -profile:v main -level:v 4.1 -pix_fmt yuv420p -r 30 -movflags +faststart"),
        std::string::npos)
        << line;
}

// Frame times against whole-number arithmetic on every millisecond of five seconds: the frame at T
// is the first whose nominal time n / fps is at or after T; an END at T runs in the first frame
// whose clock reads past T (as the Demo runs an event: its time strictly below the clock).
TEST(RenderPlan, FrameTimesOnEveryMillisecondAtEveryCommonRate)
{
    for (const uint32_t fps : {1u, 7u, 24u, 25u, 30u, 50u, 60u, 144u, 240u}) {
        uint64_t endFrame = 0;
        for (uint64_t ms = 0; ms <= 5000; ++ms) {
            const double t = ms / 1000.0;
            while (FrameClock::millisecondsOf(endFrame, fps) <= ms) ++endFrame;
            ASSERT_EQ(frameAt(t, fps), (ms * fps + 999) / 1000) << t << " s at " << fps;
            ASSERT_EQ(frameOfEnd(t, fps), endFrame) << t << " s at " << fps;
        }
    }
    EXPECT_EQ(frameOfEnd(-1.0, 60), 0u); // an END among the start-up events: nothing to show
    EXPECT_EQ(frameAt(86400.0, 240), 20736000u);
    EXPECT_EQ(frameOfEnd(kNoEnd, 240), frameOfEnd(86400.0, 240));
}

TEST(RenderPlan, RangesFromOptionsEndAndMusicAndSegmentsThatCoverThem)
{
    // {what, output, start, end, END time, music length, the plan's first and end frames (0, 0: refused)}
    const std::tuple<const char*, Output, double, double, double, double, uint64_t, uint64_t> cases[] = {
        {"END bounds a later --end", Output::Frames, 0.0, 10.0, 3.0, -1.0, 0, 181},
        {"--end before END", Output::Frames, 0.5, 2.0, 3.0, 9.0, 30, 120},
        {"no END: the music", Output::Frames, 0.5, -1.0, kNoEnd, 2.25, 30, 135},
        {"music longer than a day", Output::Frames, 86399.98, -1.0, kNoEnd, 1e9, 5183999, 5184000},
        {"no END, no --end, no music", Output::Frames, 0.5, -1.0, kNoEnd, -1.0, 0, 0},
        {"music over before the start", Output::Frames, 3.0, -1.0, kNoEnd, 2.25, 0, 0},
        {"one frame from --start to --end", Output::Frames, 1.0, 1.001, kNoEnd, -1.0, 60, 61},
        {"the last frame before END", Output::Frames, 3.0, -1.0, 3.0, -1.0, 180, 181},
        {"after END", Output::Frames, 3.01, 4.0, 3.0, -1.0, 0, 0},
        {"one frame before END", Output::SingleFrame, 3.0, -1.0, 3.0, -1.0, 180, 181},
        {"one frame after END", Output::SingleFrame, 3.01, -1.0, 3.0, -1.0, 0, 0},
    };
    for (const auto& [what, output, start, end, endTime, music, first, last] : cases) {
        RenderOptions o;
        o.output = output, o.start = start, o.end = end;
        FramePlan plan;
        std::string error;
        const bool ok = planFrames(o, endTime, music, plan, error);
        EXPECT_EQ(ok ? std::make_pair(plan.first, plan.end) : std::make_pair(uint64_t(0), uint64_t(0)),
                  std::make_pair(first, last))
            << what;
        EXPECT_EQ(error.empty(), ok) << what;
    }
    // Segments follow each other over the whole plan, their sizes within one frame of each other.
    for (uint64_t count = 1; count <= 40; ++count)
        for (int n = 1; n <= 12 && uint64_t(n) <= count; ++n) {
            uint64_t next = 7;
            for (int k = 1; k <= n; ++k) {
                const FramePlan part = segmentOf({7, 7 + count}, k, n);
                ASSERT_EQ(part.first, next) << k << "/" << n << " of " << count;
                ASSERT_LE(part.end - part.first, count / n + 1);
                ASSERT_GE(part.end - part.first, count / n);
                next = part.end;
            }
            ASSERT_EQ(next, 7 + count);
        }
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

// Jobs played by a stand-in that reports its frames as a real job does (a count per line, lines
// written in pieces) and then does what the test asks of it.
TEST(RenderJobs, ProgressIsSummedOnlyTheLastJobSpeaksAndOneFailureStopsTheOthers)
{
    ScopedWorkDir dir;
    dir.write("job.sh", "#!/bin/sh\nfor a; do case $prev in --segment) k=${a%/*};; --progress-fd) fd=$a;; esac; "
                        "prev=$a; done\necho job $k\nprintf 4 > /dev/fd/$fd; printf '\\n1' > /dev/fd/$fd; "
                        "printf '0\\n' > /dev/fd/$fd\n[ -e then.$k ] && . ./then.$k\nexit 0\n");
    ASSERT_EQ(::chmod("job.sh", 0755), 0);
    RenderOptions o;
    o.path = "frames", o.jobs = 3;
    const auto run = [&](int status) {
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        EXPECT_EQ(runJobs(o, {60, 90}, "none.ogg", "./job.sh"), status);
        const std::string err = testing::internal::GetCapturedStderr(), out = testing::internal::GetCapturedStdout();
        EXPECT_TRUE(status != 0 || out == "job 3\n") << out;
        return err;
    };
    const std::string err = run(0);
    EXPECT_NE(err.find("frame 89 (30/30)  t=1.483 s"), std::string::npos) << err;
    EXPECT_NE(err.find("rendered 30 frames in 3 jobs"), std::string::npos) << err;

    // Once the third job has written its segment, the second fails (with 2: a refusal); the first,
    // still running, is stopped; a video's segments are removed.
    o.path = "v.mp4", o.output = Output::Video;
    dir.write("then.1", "trap ': > stopped.1; exit 1' TERM; : > ready.1; for i in $(seq 100); do sleep 0.05; done\n");
    dir.write("then.3", ": > v.part3of3.mp4\n");
    for (const int status : {2, 3}) { // any other failure: 1
        dir.write("then.2", "until [ -e ready.1 ] && [ -e v.part3of3.mp4 ]; do sleep 0.01; done; exit " +
                                std::to_string(status) + "\n");
        run(status == 2 ? 2 : 1);
        EXPECT_TRUE(std::filesystem::exists("stopped.1"));
        EXPECT_FALSE(std::filesystem::exists("v.part3of3.mp4"));
        std::filesystem::remove("stopped.1"), std::filesystem::remove("ready.1");
    }
}
