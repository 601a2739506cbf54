// Timeline: line splitting, time parsing and file loading.
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>
#include "script/Timeline.h"
#include "support/TempDir.h"

namespace {
struct Parsed {
    std::vector<char> buffer;
    std::vector<ScriptEvent> events;
};

// Splits `text` the way the demo does: a buffer of N + 4 bytes, the spare bytes left non-zero so a
// missing terminator would show.
Parsed split(const std::string& text)
{
    Parsed p;
    p.buffer.assign(text.begin(), text.end());
    p.buffer.insert(p.buffer.end(), 4, 'X');
    splitScript(p.buffer.data(), static_cast<int64_t>(text.size()), p.events);
    return p;
}

std::vector<std::string> lines(const Parsed& p)
{
    std::vector<std::string> out;
    for (const ScriptEvent& e : p.events) out.emplace_back(e.line);
    return out;
}

std::vector<double> times(const Parsed& p)
{
    std::vector<double> out;
    for (const ScriptEvent& e : p.events) out.push_back(e.time);
    return out;
}
} // namespace

TEST(TimelineLineEnds, EveryTerminatorPairGivesTheSameEvents)
{
    const std::vector<std::string> ends = {"\n", "\r", "\r\n", "\n\r", "\n\n", "\r\r"};
    for (const std::string& end : ends) {
        Parsed p = split("1 cam new camera" + end + "2.5 cam setpoint 1 2 3" + end + "-1 x END" + end);
        EXPECT_EQ(lines(p), (std::vector<std::string>{"1 cam new camera", "2.5 cam setpoint 1 2 3", "-1 x END"}))
            << "terminator bytes " << int(end[0]) << " " << (end.size() > 1 ? int(end[1]) : -1);
        EXPECT_EQ(times(p), (std::vector<double>{1.0, 2.5, -1.0}));
        for (const ScriptEvent& e : p.events) EXPECT_FALSE(e.done);
    }
}

TEST(TimelineLineEnds, ThreeTerminatorsMakeOneEmptyLineWhichIsSkipped)
{
    Parsed p = split("1 a\n\n\n2 b\r\n\r\n3 c");
    EXPECT_EQ(lines(p), (std::vector<std::string>{"1 a", "2 b", "3 c"}));
}

TEST(TimelineLineEnds, LastLineWithoutTerminatorEndsAtTheEndOfTheFile)
{
    Parsed p = split("1 a\n7 last words");
    ASSERT_EQ(p.events.size(), 2u);
    EXPECT_STREQ(p.events[1].line, "7 last words");
    EXPECT_EQ(p.buffer[p.buffer.size() - 4], '\0');
}

TEST(TimelineLineEnds, EventsPointIntoTheBuffer)
{
    Parsed p = split("1 a\n2 b\n");
    for (const ScriptEvent& e : p.events) {
        EXPECT_GE(e.line, p.buffer.data());
        EXPECT_LT(e.line, p.buffer.data() + p.buffer.size());
    }
}

TEST(TimelineNumbers, LeadingBlanksSignsExponentsAndTrailingLetters)
{
    Parsed p = split("   3.5 a\n10abc\n-2e1 b\n+0.25 c\n\t4 tab\n");
    EXPECT_EQ(times(p), (std::vector<double>{3.5, 10.0, -20.0, 0.25, 4.0}));
    EXPECT_STREQ(p.events[0].line, "   3.5 a");
    EXPECT_STREQ(p.events[1].line, "10abc");
}

TEST(TimelineNumbers, CommentBLinesWordsAndBlankLinesAreSkipped)
{
    Parsed p = split("#5 commented\nB12 b-line\nBar 3\nword 4\n\n   \n6 kept\n");
    EXPECT_EQ(lines(p), (std::vector<std::string>{"6 kept"}));
}

TEST(TimelineNumbers, OutOfOrderTimesStayInFileOrder)
{
    Parsed p = split("5 a\n2 b\n5 c\n-1 d\n");
    EXPECT_EQ(times(p), (std::vector<double>{5.0, 2.0, 5.0, -1.0}));
}

TEST(TimelineHostileBytes, NoReadPastTheBuffer)
{
    // A file ending inside a number, a file of NUL bytes, a binary file: none may read past the
    // N + 4 bytes (AddressSanitizer watches these in the sanitizer build).
    for (const std::string& text : {std::string("1 a\n12.5"), std::string(64, '\0'), std::string("\r"),
                                     std::string("\n\r\n"), std::string("7")}) {
        std::unique_ptr<char[]> exact(new char[text.size() + 4]);
        std::memcpy(exact.get(), text.data(), text.size());
        std::vector<ScriptEvent> events;
        splitScript(exact.get(), static_cast<int64_t>(text.size()), events);
        for (const ScriptEvent& e : events) EXPECT_LE(std::strlen(e.line), text.size());
    }
    std::string binary;
    for (int i = 0; i < 4096; ++i) binary.push_back(static_cast<char>((i * 7919) & 0xff));
    Parsed p = split(binary);
    SUCCEED() << p.events.size() << " events from binary noise";
}

TEST(TimelineFile, MissingFileReportsAndLeavesOutputsAlone)
{
    ScopedWorkDir dir;
    std::unique_ptr<char[]> buffer;
    int64_t size = 77;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(loadScriptFile(buffer, size));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Couldn't open: data/vessikscript.txt\n");
    EXPECT_EQ(size, 77);
    EXPECT_EQ(buffer, nullptr);
}

TEST(TimelineFile, ReadsRawBytesAndEmptyFile)
{
    ScopedWorkDir dir;
    dir.write("data/vessikscript.txt", "1 a\r\n2 b");
    std::unique_ptr<char[]> buffer;
    int64_t size = 0;
    ASSERT_TRUE(loadScriptFile(buffer, size));
    EXPECT_EQ(size, 8);
    EXPECT_EQ(std::string(buffer.get(), 8), "1 a\r\n2 b");
    std::vector<ScriptEvent> events;
    splitScript(buffer.get(), size, events);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_STREQ(events[1].line, "2 b");

    dir.write("data/vessikscript.txt", "");
    ASSERT_TRUE(loadScriptFile(buffer, size));
    EXPECT_EQ(size, 0);
    events.clear();
    splitScript(buffer.get(), size, events);
    EXPECT_TRUE(events.empty());
}
