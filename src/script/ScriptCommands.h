// The script's command vocabulary: one table row per command word with its word-count rule, the
// number of argument words it reads and its action on the effect registry, the resource libraries
// and the scene list. The interpreter picks the rows; this file knows what each word does.
#pragma once
#include <vector>
#include "effects/Demoeffect.h"
#include "script/Timeline.h"
#include "script/WordCutter.h"

// One cut line being run: word 0 is the instance name, word 1 the command, then the arguments.
struct CommandLine {
    ScriptEvent& event;
    const ScriptWords& words;
    std::vector<Demoeffect*>& scene;
    bool& stop; // set by "END": the demo is to stop after this line

    const char* instance() const { return words.words[0]; }
    const char* command() const { return words.words[1]; }
    // Argument n, counted from 1. Only valid once the row's argument count has been checked.
    const char* arg(int n) const { return words.words[n + 1]; }
};

struct ScriptCommand {
    const char* word; // compared exactly, case-sensitive
    int minWords;     // a line with fewer words does not match this row (0: no such rule)
    int args;         // argument words the action reads
    void (*run)(const CommandLine& line);
};

// The rows that need no bound instance ("SHADER", "END", "new", "clone") or, with `checked`, the
// rows that run after the existence check. Returns the first row that matches the line's command
// word and word count, or null.
const ScriptCommand* findCommand(const CommandLine& line, bool checked);

// Runs a matched row: a line without all of the row's argument words is skipped with a message
// and no argument is read.
void runCommand(const ScriptCommand& command, const CommandLine& line);
