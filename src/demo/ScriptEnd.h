// Finding the script's "END" events ahead of time, for tools that must stop before the process
// would end: a line is an END event when its command word (the third word, after the time and
// the instance name) is "END", with the line cut exactly as the interpreter cuts it.
#pragma once
#include <limits>
#include <vector>
#include "script/Timeline.h"

constexpr double kNoEnd = std::numeric_limits<double>::infinity();

// Whether the interpreter would run this line as "END". The line is copied, not cut.
bool isEndLine(const char* line);
// The earliest time of an END event that has not run yet; kNoEnd when there is none.
double firstPendingEndTime(const std::vector<ScriptEvent>& events);
// The earliest END time of the script file at `path` read afresh; kNoEnd when it has none or the
// file cannot be read (the Demo reports a missing script itself). With `header`, it also receives
// the script's header lines from the same read (none when the file cannot be read).
double scriptEndTime(const char* path = kScriptPath, ScriptHeader* header = nullptr);
