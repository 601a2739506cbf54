// Timeline: line splitting, time parsing and file loading.
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>
#include "script/Timeline.h"
#include "support/CaptureStdout.h"
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

TEST(TimelineLineEnds, EmptyLinesAreSkippedAndTheLastLineEndsAtTheEndOfTheFile)
{
    // Three terminators make one empty line; the last line needs no terminator of its own.
    Parsed p = split("1 a\n\n\n2 b\r\n\r\n3 c\n7 last words");
    EXPECT_EQ(lines(p), (std::vector<std::string>{"1 a", "2 b", "3 c", "7 last words"}));
    EXPECT_EQ(p.buffer[p.buffer.size() - 4], '\0');
    for (const ScriptEvent& e : p.events) { // cut in place
        EXPECT_GE(e.line, p.buffer.data());
        EXPECT_LT(e.line, p.buffer.data() + p.buffer.size());
    }
}

TEST(TimelineNumbers, TimesAreReadLikeStrtodAndKeptInFileOrder)
{
    // Leading blanks, signs, exponents and trailing letters; comments, B-lines, words and blank
    // lines are skipped; out-of-order times stay in file order.
    Parsed p = split("   3.5 a\n10abc\n#5 commented\nB12 b-line\nBar 3\nword 4\n\n   \n-2e1 b\n+0.25 c\n\t4 tab\n2 d\n");
    EXPECT_EQ(times(p), (std::vector<double>{3.5, 10.0, -20.0, 0.25, 4.0, 2.0}));
    EXPECT_STREQ(p.events[0].line, "   3.5 a");
    EXPECT_STREQ(p.events[1].line, "10abc");
}

TEST(TimelineHostileBytes, NoReadPastTheBuffer)
{
    // A file ending inside a number, a file of NUL bytes, a binary file: none may read past the
    // N + 4 bytes (AddressSanitizer watches these in the sanitizer build).
    std::string binary;
    for (int i = 0; i < 4096; ++i) binary.push_back(static_cast<char>((i * 7919) & 0xff));
    for (const std::string& text : {std::string("1 a\n12.5"), std::string(64, '\0'), std::string("\r"),
                                     std::string("\n\r\n"), std::string("7"), binary}) {
        std::unique_ptr<char[]> exact(new char[text.size() + 4]);
        std::memcpy(exact.get(), text.data(), text.size());
        std::vector<ScriptEvent> events;
        splitScript(exact.get(), static_cast<int64_t>(text.size()), events);
        for (const ScriptEvent& e : events) EXPECT_LE(std::strlen(e.line), text.size());
    }
}

TEST(TimelineFile, ReadsRawBytesAndReportsAMissingFile)
{
    ScopedWorkDir dir;
    std::unique_ptr<char[]> buffer;
    int64_t size = 77;
    EXPECT_EQ(capturedStdout([&] { EXPECT_FALSE(loadScriptFile(buffer, size)); }),
              "Couldn't open: data/vessikscript.txt\n");
    EXPECT_EQ(size, 77);
    EXPECT_EQ(buffer, nullptr);

    for (const std::string text : {"1 a\r\n2 b", ""}) {
        dir.write("data/vessikscript.txt", text);
        ASSERT_TRUE(loadScriptFile(buffer, size));
        EXPECT_EQ(std::string(buffer.get(), size_t(size)), text);
        std::vector<ScriptEvent> events;
        splitScript(buffer.get(), size, events);
        EXPECT_EQ(events.size(), text.empty() ? 0u : 2u);
    }
}
