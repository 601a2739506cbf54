// The script check: runs a script offscreen without drawing and prints each problem as
// "LINE: message" (line 0: the file itself). Returns the exit status: 1 when a problem was found,
// 0 when none.
#pragma once
#include <string>

// `script` empty: the demo's own script.
int runScriptCheck(const std::string& script);
