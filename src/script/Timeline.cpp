// Script file reading and line splitting. Lines end in "\n", "\r" or any pair of them; a third
// terminator in a row starts an empty line. The time is read with the "%lf" conversion.
#include "script/Timeline.h"
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>
#include "resources/FileBytes.h"
#include "resources/Messages.h"

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

static bool isTerminator(char c)
{
    return c == '\n' || c == '\r';
}

void splitScript(char* text, int64_t size, std::vector<ScriptEvent>& events)
{
    if (size <= 0) return;
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
            double time = 0.0;
            if (std::sscanf(line, "%lf", &time) == 1) events.push_back(ScriptEvent{time, line, false});
        }
        if (pos + len >= size) break;
        pos += len + 1;
    }
}
