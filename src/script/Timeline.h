// Script file and timeline: the whole script read into one buffer, cut into lines in place, and
// every line that starts with a number turned into a time-stamped event pointing into that buffer.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

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

// Cuts the text (size bytes, with at least one writable byte after them) into lines in place and
// appends one event per line that begins with a number. "#" and "B" lines are skipped.
void splitScript(char* text, int64_t size, std::vector<ScriptEvent>& events);
