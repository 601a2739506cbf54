// Script file and timeline: the whole script read into one buffer, cut into lines in place, and
// every line that starts with a time turned into a time-stamped event pointing into that buffer.
// The header lines (MUSIC, TITLE, TEMPO) are read first, so BAR:BEAT times anywhere in the file
// follow the script's tempo.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>
#include "script/ScriptHeader.h"

struct ScriptEvent {
    double time; // seconds on the demo clock; negative: run at start-up
    char* line;  // the line's text inside the script buffer, NUL-terminated in place
    bool done;   // set once the interpreter has run the event
};

extern const char* const kScriptPath; // "data/vessikscript.txt"

// Reads the whole file into a new buffer of size + 4 bytes (the spare bytes take the NUL that ends a
// last line without a terminator). Prints "Couldn't open: <path>" and returns false when the file
// cannot be opened; the out-parameters are then left alone.
bool loadScriptFile(std::unique_ptr<char[]>& buffer, int64_t& size, const char* path = kScriptPath);

// Reads the header lines of the text, then cuts it (size bytes, with at least one writable byte
// after them) into lines in place and appends one event per line that begins with a time (see
// EventTime.h). "#" and "B" lines are skipped. With `header`, it receives the header and a note for
// every BAR:BEAT time that names no proper position (those lines are not events).
void splitScript(char* text, int64_t size, std::vector<ScriptEvent>& events, ScriptHeader* header = nullptr);
