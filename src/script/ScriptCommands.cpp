// Actions of the script commands. Every command that acts on an effect first makes sure the
// binding holds one: an empty binding (a name never created, an unknown type word, "SCENE" without
// an effect of that name) skips the line with a message instead of touching a missing object.
#include "script/ScriptCommands.h"
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include "effects/EffectRegistry.h"
#include "resources/Messages.h"
#include "resources/Numbers.h"
#include "resources/ShaderLibrary.h"
#include "resources/TextureLibrary.h"

namespace {
// Decimal floating point with the usual conversion rules: a word without a number reads as 0.
double readReal(const char* word)
{
    return std::strtod(word, nullptr);
}

void readVector(const CommandLine& line, int firstArg, float out[3])
{
    for (int i = 0; i < 3; ++i) out[i] = static_cast<float>(readReal(line.arg(firstArg + i)));
}

// The effect bound to `name`, or null after a message naming the line when the binding is empty.
Demoeffect* boundEffect(const CommandLine& line, Demoeffect* bound, const char* name)
{
    if (!bound) printMessage("No effect bound to %s, line skipped: %s %s\n", name, line.instance(), line.command());
    return bound;
}

Demoeffect* instanceEffect(const CommandLine& line)
{
    return boundEffect(line, EffectRegistry::findOrAdd(line.instance()), line.instance());
}

void runShader(const CommandLine& line)
{
    linkShaderProgram(line.instance(), line.arg(1), line.arg(2), line.arg(3));
}

void runEnd(const CommandLine& line)
{
    line.stop = true;
}

void runNew(const CommandLine& line)
{
    Demoeffect*& binding = EffectRegistry::findOrAdd(line.instance());
    binding = createEffect(line.arg(1));
    EffectRegistry::own(binding);
}

// An empty source binds nothing: the instance keeps whatever binding it had (or stays unbound).
void runClone(const CommandLine& line)
{
    Demoeffect* source = EffectRegistry::findOrAdd(line.arg(1));
    if (!boundEffect(line, source, line.arg(1))) return;
    Demoeffect*& binding = EffectRegistry::findOrAdd(line.instance());
    binding = source->clone();
    EffectRegistry::own(binding);
}

void runTexture(const CommandLine& line)
{
    if (Demoeffect* e = instanceEffect(line)) e->texture = findTexture(line.arg(1));
}

void runShaderProgram(const CommandLine& line)
{
    if (Demoeffect* e = instanceEffect(line)) e->shaderProgram = findShaderProgram(line.arg(1));
}

// "SCENE" appends to the top-level draw list; any other instance gets a child. A child that already
// holds the parent somewhere below it is refused: the draw would otherwise recurse without end.
void runAppend(const CommandLine& line)
{
    Demoeffect* child = EffectRegistry::findOrAdd(line.arg(1));
    if (std::strcmp(line.instance(), "SCENE") == 0) {
        if (boundEffect(line, child, line.arg(1))) line.scene.push_back(child);
        return;
    }
    Demoeffect* parent = instanceEffect(line);
    if (!parent || !boundEffect(line, child, line.arg(1))) return;
    if (child->reaches(parent)) {
        printMessage("append would make a cycle, refused: %s append %s\n", line.instance(), line.arg(1));
        return;
    }
    parent->addChild(child);
}

void runRemove(const CommandLine& line)
{
    Demoeffect* child = EffectRegistry::findOrAdd(line.arg(1));
    Demoeffect* parent = instanceEffect(line);
    if (parent && boundEffect(line, child, line.arg(1))) parent->removeChild(child);
}

void runSetPoint(const CommandLine& line)
{
    if (Demoeffect* e = instanceEffect(line)) readVector(line, 1, e->motion.point);
}

// Timed changes start at the event's scheduled time, not at the clock reading that ran it, so a late
// event still lands on time: from the current value towards words 1-3, lasting word 4 seconds.
void startTimedChange(const CommandLine& line, double& start, double& end, float (&from)[3], const float (&now)[3],
                      float (&to)[3])
{
    start = line.event.time;
    end = line.event.time + readReal(line.arg(4));
    std::memcpy(from, now, sizeof from);
    readVector(line, 1, to);
}

void runMovePoint(const CommandLine& line)
{
    if (Demoeffect* e = instanceEffect(line)) {
        Motion& m = e->motion;
        startTimedChange(line, m.moveStart, m.moveEnd, m.moveFrom, m.point, m.moveTo);
        m.motionFlags |= MotionMoving;
    }
}

void runRotatePoint(const CommandLine& line)
{
    if (Demoeffect* e = instanceEffect(line)) {
        Motion& m = e->motion;
        startTimedChange(line, m.rotateStart, m.rotateEnd, m.rotateFrom, m.direction, m.rotateTo);
        m.motionFlags |= MotionRotating;
    }
}

void runDeltaPoint(const CommandLine& line)
{
    if (Demoeffect* e = instanceEffect(line)) readVector(line, 1, e->motion.deltaPoint);
}

void runSetDirection(const CommandLine& line)
{
    if (Demoeffect* e = instanceEffect(line)) readVector(line, 1, e->motion.direction);
}

void runDeltaDirection(const CommandLine& line)
{
    if (Demoeffect* e = instanceEffect(line)) readVector(line, 1, e->motion.deltaDirection);
}

// The argument is one word of the line itself: writable, so the effect's handler may cut it.
void runLocal(const CommandLine& line)
{
    if (Demoeffect* e = instanceEffect(line)) e->local(static_cast<float>(line.event.time), line.words.words[2]);
}

void runScale(const CommandLine& line)
{
    if (Demoeffect* e = instanceEffect(line)) e->scale = readReal(line.arg(1));
}

void runScaleX(const CommandLine& line)
{
    if (Demoeffect* e = instanceEffect(line)) e->scaleX = readReal(line.arg(1));
}

void runScaleY(const CommandLine& line)
{
    if (Demoeffect* e = instanceEffect(line)) e->scaleY = readReal(line.arg(1));
}

void runScaleZ(const CommandLine& line)
{
    if (Demoeffect* e = instanceEffect(line)) e->scaleZ = readReal(line.arg(1));
}

void runState(const CommandLine& line)
{
    if (Demoeffect* e = instanceEffect(line)) e->state |= saturatingInt32(line.arg(1));
}

// Word counts below include the instance name and the command word.
const ScriptCommand kUnchecked[] = {
    {"SHADER", 0, 3, runShader},
    {"END", 0, 0, runEnd},
    {"new", 0, 1, runNew},
    {"clone", 0, 1, runClone},
};

const ScriptCommand kChecked[] = {
    {"texture", 0, 1, runTexture},
    {"shader", 0, 1, runShaderProgram},
    {"append", 0, 1, runAppend},
    {"remove", 0, 1, runRemove},
    {"setpoint", 5, 3, runSetPoint},
    {"movepoint", 6, 4, runMovePoint},
    {"rotatepoint", 6, 4, runRotatePoint},
    {"deltapoint", 5, 3, runDeltaPoint},
    {"setdirection", 5, 3, runSetDirection},
    {"deltadirection", 5, 3, runDeltaDirection},
    {"local", 0, 1, runLocal},
    {"scale", 0, 1, runScale},
    {"scalex", 0, 1, runScaleX},
    {"scaley", 0, 1, runScaleY},
    {"scalez", 0, 1, runScaleZ},
    {"state", 0, 1, runState},
};

template <size_t N>
const ScriptCommand* firstMatch(const ScriptCommand (&table)[N], const CommandLine& line)
{
    for (const ScriptCommand& row : table)
        if (std::strcmp(line.command(), row.word) == 0 && line.words.count >= row.minWords) return &row;
    return nullptr;
}
} // namespace

const ScriptCommand* findCommand(const CommandLine& line, bool checked)
{
    return checked ? firstMatch(kChecked, line) : firstMatch(kUnchecked, line);
}

void runCommand(const ScriptCommand& command, const CommandLine& line)
{
    if (line.words.count < 2 + command.args) {
        printMessage("Missing words, line skipped: %s %s\n", line.instance(), line.command());
        return;
    }
    command.run(line);
}
