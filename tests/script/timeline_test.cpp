// Timeline: line splitting, time parsing and file loading (a missing file is reported end to end).
#include <gtest/gtest.h>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>
#include "script/Timeline.h"
#include "support/TempDir.h"

namespace {
// Splits `text` the way the demo does: a buffer of N + 4 bytes, the spare bytes left non-zero so a
// missing terminator would show. Every event must point into the buffer (lines are cut in place),
// end within it and start not done. Returns "time|line" per event.
std::vector<std::string> split(const std::string& text)
{
    std::vector<char> buffer(text.begin(), text.end());
    buffer.insert(buffer.end(), 4, 'X');
    std::vector<ScriptEvent> events;
    splitScript(buffer.data(), static_cast<int64_t>(text.size()), events);
    std::vector<std::string> out;
    for (const ScriptEvent& e : events) {
        EXPECT_TRUE(e.line >= buffer.data() && e.line < buffer.data() + buffer.size() && !e.done);
        EXPECT_LE(std::strlen(e.line), text.size());
        char time[32];
        std::snprintf(time, sizeof time, "%g|", e.time);
        out.push_back(time + std::string(e.line));
    }
    return out;
}
} // namespace

TEST(TimelineSplit, TerminatorsTimesSkippedLinesAndHostileBytes)
{
    for (const std::string end : {"\n", "\r", "\r\n", "\n\r"})
        EXPECT_EQ(split("1 cam new camera" + end + "2.5 cam setpoint 1 2 3" + end + "-1 x END" + end),
                  (std::vector<std::string>{"1|1 cam new camera", "2.5|2.5 cam setpoint 1 2 3", "-1|-1 x END"}))
            << "terminator bytes " << int(end[0]) << " " << (end.size() > 1 ? int(end[1]) : -1);
    // Three terminators make one empty line, which is skipped; the last line needs none. Leading
    // blanks, signs, exponents and trailing letters are read like strtod; comments, B-lines, words
    // and blank lines are skipped; out-of-order times stay in file order.
    EXPECT_EQ(split("1 a\n\n\n2 b\r\n\r\n   3.5 c\n10abc\n#5 commented\nB12 b-line\nBar 3\nword 4\n   \n"
                    "-2e1 d\n+0.25 e\n\t4 tab\n2 last words"),
              (std::vector<std::string>{"1|1 a", "2|2 b", "3.5|   3.5 c", "10|10abc", "-20|-2e1 d", "0.25|+0.25 e",
                                        "4|\t4 tab", "2|2 last words"}));
    // A file ending inside a number, NUL bytes: AddressSanitizer watches the reads.
    EXPECT_EQ(split("1 a\n12.5"), (std::vector<std::string>{"1|1 a", "12.5|12.5"}));
    split(std::string(64, '\0'));
}

TEST(TimelineFile, ReadsRawBytes)
{
    ScopedWorkDir dir;
    std::unique_ptr<char[]> buffer;
    int64_t size = 0;
    for (const std::string text : {"1 a\r\n2 b", ""}) {
        dir.write("data/vessikscript.txt", text);
        ASSERT_TRUE(loadScriptFile(buffer, size));
        EXPECT_EQ(std::string(buffer.get(), size_t(size)), text);
    }
}
