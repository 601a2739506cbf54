// Script file reading and line splitting. Lines end in "\n", "\r" or any pair of them; a third
// terminator in a row starts an empty line. The time is read by readEventTime.
#include "script/Timeline.h"
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>
#include "resources/FileBytes.h"
#include "resources/Messages.h"
#include "script/EventTime.h"

const char* const kScriptPath = "data/vessikscript.txt";

bool loadScriptFile(std::unique_ptr<char[]>& buffer, int64_t& size, const char* path)
{
    std::vector<uint8_t> file;
    // Four spare bytes after the text take the NUL that ends a last line without a terminator.
    std::unique_ptr<char[]> bytes;
    if (readWholeFile(path, file)) bytes.reset(new (std::nothrow) char[file.size() + 4]());
    if (!bytes) {
        printMessage("Couldn't open: %s\n", path);
        return false;
    }
    if (!file.empty()) std::memcpy(bytes.get(), file.data(), file.size());
    buffer = std::move(bytes);
    size = static_cast<int64_t>(file.size());
    return true;
}

// The time as written, for messages: the first word after leading blanks, at most 40 bytes.
static std::string timeWord(const char* line)
{
    line += std::strspn(line, " \t\v\f");
    return std::string(line, std::min<size_t>(std::strcspn(line, " ,"), 40));
}

static bool isTerminator(char c)
{
    return c == '\n' || c == '\r';
}

void splitScript(char* text, int64_t size, std::vector<ScriptEvent>& events, ScriptHeader* header)
{
    ScriptHeader unused;
    ScriptHeader& h = header ? *header : unused;
    h = ScriptHeader{};
    if (size <= 0) return;
    h = readScriptHeader(text, static_cast<size_t>(size));
    int64_t pos = 0;
    while (pos < size) {
        // memchr-style scan for the first terminator, bounded by the end of the text.
        int64_t len = 0;
        while (pos + len < size && !isTerminator(text[pos + len])) ++len;
        text[pos + len] = '\0';
        if (pos + len + 1 < size && isTerminator(text[pos + len + 1])) {
            text[pos + len + 1] = '\0';
            ++len;
        }
        char* line = text + pos;
        if (line[0] != '#' && line[0] != 'B') {
            const EventTime time = readEventTime(line, h);
            if (time.kind == EventTime::Kind::Bad)
                h.notes.push_back(ScriptNote{static_cast<size_t>(pos), "bad time " + timeWord(line) + " (" +
                                                                           time.problem + "): the line never runs"});
            else if (time.kind != EventTime::Kind::None)
                events.push_back(ScriptEvent{time.seconds, line, false});
        }
        if (pos + len >= size) break;
        pos += len + 1;
    }
}
