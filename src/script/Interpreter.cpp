// Command interpreter: cuts the event's line into words, runs the commands that need no bound
// instance, checks that the instance exists ("SCENE" is exempt), runs the remaining commands and
// marks the event done whatever happened. "END" only asks the caller to stop.
#include "script/Interpreter.h"
#include <cstdio>
#include <cstring>
#include "effects/EffectRegistry.h"
#include "resources/Messages.h"
#include "script/ScriptCommands.h"
#include "script/WordCutter.h"

namespace {
// False when the line asks to stop.
bool runLine(ScriptEvent& event, std::vector<Demoeffect*>& scene)
{
    const ScriptWords words = cutWords(event.line);
    if (words.count < 2) return true;
    bool stop = false;
    const CommandLine line{event, words, scene, stop};
    if (const ScriptCommand* command = findCommand(line, false)) {
        runCommand(*command, line);
        return !stop;
    }
    if (std::strcmp(line.instance(), "SCENE") != 0 && !EffectRegistry::contains(line.instance())) {
        printMessage("You need to create this effect with new or clone first! %s %s\n", line.instance(),
                     line.command());
        return true;
    }
    if (const ScriptCommand* command = findCommand(line, true)) runCommand(*command, line);
    return true;
}
} // namespace

bool runEvent(ScriptEvent& event, std::vector<Demoeffect*>& scene)
{
    const bool goOn = runLine(event, scene);
    event.done = true;
    return goOn;
}
