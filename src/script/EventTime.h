// The time at the start of a script line. Without a TEMPO line it is what the "%lf" conversion
// reads (so "2:1" is 2 seconds, and "10abc" is 10). With a TEMPO line a number followed directly by
// ":" is a BAR:BEAT time: BAR a whole number from 1, BEAT a decimal number from 1 up to (not
// including) one past the bar's last beat ("17:1", "17:2.5"), converted to seconds through the
// tempo map. Plain seconds keep working beside them. Text after the time is left to the
// interpreter, which skips the whole first word.
#pragma once
#include <string>
#include "script/ScriptHeader.h"

struct EventTime {
    enum class Kind { None, Seconds, Bars, Bad };
    Kind kind = Kind::None; // None: the line has no time; Bad: a BAR:BEAT that names no position
    double seconds = 0.0;
    std::string problem; // Bad: why, e.g. "past the bar of 4 beats"
};

EventTime readEventTime(const char* line, const ScriptHeader& header);

// "BAR:BEAT" at the start of `text` in its strict form: BAR digits only, BEAT digits with an
// optional fraction (or a fraction alone). `end` gets the first character after it. The position
// is not checked against a tempo map.
bool readBarBeat(const char* text, BarBeat& out, const char** end);
