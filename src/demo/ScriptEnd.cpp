// END events found ahead of time, through the interpreter's own word cutter.
#include "demo/ScriptEnd.h"
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include "resources/FileBytes.h"
#include "script/WordCutter.h"

bool isEndLine(const char* line)
{
    if (!line) return false;
    std::vector<char> copy(line, line + std::strlen(line) + 1);
    const ScriptWords words = cutWords(copy.data());
    return words.count >= 2 && std::strcmp(words.words[1], "END") == 0;
}

double firstPendingEndTime(const std::vector<ScriptEvent>& events)
{
    double earliest = kNoEnd;
    for (const ScriptEvent& event : events)
        if (!event.done && event.time < earliest && isEndLine(event.line)) earliest = event.time;
    return earliest;
}

double scriptEndTime(const char* path, ScriptHeader* header)
{
    if (header) *header = ScriptHeader{};
    // Only look when the file can be read, so a missing script is reported once, by the Demo.
    if (!fileReadable(path)) return kNoEnd;
    std::unique_ptr<char[]> text;
    int64_t size = 0;
    if (!loadScriptFile(text, size, path)) return kNoEnd;
    std::vector<ScriptEvent> events;
    splitScript(text.get(), size, events, header);
    return firstPendingEndTime(events);
}
