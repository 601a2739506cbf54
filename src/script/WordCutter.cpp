// Word cutting of script lines: one pass over the bytes, separators replaced by NUL in place.
#include "script/WordCutter.h"
#include <cstring>

namespace {
bool isSeparator(char c)
{
    return c == ' ' || c == ',';
}
} // namespace

ScriptWords cutWords(char* line)
{
    ScriptWords out{};
    out.count = 0;
    if (!line) return out;
    // Every separator is cut, also past the last kept word, so the last kept word ends at the next
    // separator and the whole line reads as its time once it has been run.
    const size_t length = std::strlen(line);
    for (size_t i = 0; i < length; ++i) {
        if (!isSeparator(line[i])) continue;
        line[i] = '\0';
        if (out.count < ScriptWords::kMaxWords) out.words[out.count++] = line + i + 1;
    }
    return out;
}
