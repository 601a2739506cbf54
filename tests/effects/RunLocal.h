// Gives an effect its per-type commands the way the script's "local" word does: each
// space-separated command in turn, from a writable copy. A command cannot contain a space.
#pragma once
#include <sstream>
#include <string>
#include "effects/Demoeffect.h"

inline void runLocal(Demoeffect& e, const std::string& commands, float time = 0.0f)
{
    std::istringstream in(commands);
    for (std::string command; in >> command;) e.local(time, command.data());
}
