// Fuzz target for the script: random text is split into events (through the header reader, so
// MUSIC, TITLE and TEMPO lines and BAR:BEAT times are read too) and every event is run through the
// interpreter, then the scene is drawn once. Each event's time is also read back through the tempo
// map (position, nearest sixteenth, a short grid), which must give the time again, and the section
// comments are read as the editor's timeline reads them. "END" only returns a stop request, which
// is ignored so the lines after it are tried too. A hidden GL context is made first so that shader, texture and effect
// commands run for real; without a display the lines that could reach the GL are left out and
// nothing is drawn. Lines holding a "/" are left out too: textures and meshes are opened by the name
// the script gives, and a path such as /dev/zero would never end. After each input the effects,
// bindings, caches and GL objects it made are released, which the demo itself never does, so
// memory stays bounded over millions of inputs (fuzz/GlObjects.h).
#include <cstddef>
#include <cstdint>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#include "demo/ProcessState.h"
#include "GlObjects.h"
#include "effects/EffectRegistry.h"
#include "effects/Globals.h"
#include "resources/ShaderLibrary.h"
#include "resources/TextureLibrary.h"
#include "script/Interpreter.h"
#include "script/ScriptSections.h"
#include "script/Timeline.h"
#include "script/WordCutter.h"
#include "shell/OffscreenContext.h"

namespace {
bool haveGl()
{
    static const bool ok = createOffscreenContext(64, 64);
    return ok;
}

// The instance and command words of a line, read from a cut copy so the line itself stays whole.
struct LineWords {
    std::string instance, command, firstArg;
    int count = 0;
};

LineWords peek(const char* line)
{
    std::string copy(line);
    const ScriptWords w = cutWords(copy.data());
    LineWords out;
    out.count = w.count;
    if (w.word(0)) out.instance = w.word(0);
    if (w.word(1)) out.command = w.word(1);
    if (w.word(2)) out.firstArg = w.word(2);
    return out;
}

bool mayTouchGl(const LineWords& w)
{
    if (w.command == "SHADER" || w.command == "shader" || w.command == "texture" || w.command == "local") return true;
    return w.command == "new" && w.firstArg != "demoeffect";
}

// A time read back through the tempo map lands where it was (to float noise), and the sixteenth
// and grid near it stay near it.
void readBack(const TempoMap& tempo, double seconds)
{
    if (tempo.empty() || !std::isfinite(seconds) || std::fabs(seconds) > 1e6) return;
    if (std::llabs(tempo.barBeatAt(seconds).bar) >= kMaxBar) return; // past the bars a map names
    const double back = tempo.secondsAt(tempo.barBeatAt(seconds));
    const double beat = 60.0 / tempo.segmentAt(seconds).bpm;
    if (std::fabs(back - seconds) > 1e-6 * beat + 1e-9 * std::fabs(seconds)) __builtin_trap();
    if (std::fabs(tempo.nearestSixteenth(seconds) - seconds) > beat) __builtin_trap();
    for (const GridLine& line : tempo.grid(seconds, seconds + 4.0, 4, 64))
        if (line.seconds < seconds - beat || line.seconds > seconds + 4.0) __builtin_trap();
}

void drawScene(const std::vector<Demoeffect*>& scene)
{
    g_effects.musicTime = 3.0;
    g_effects.frameDelta = 0.02;
    glMatrixMode(GL_MODELVIEW);
    for (Demoeffect* e : scene) {
        glLoadIdentity();
        e->update();
        e->draw();
    }
    glUseProgram(0);
    g_effects.boundProgram = 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const bool gl = haveGl();
    std::vector<char> text(data, data + size);
    text.resize(size + 4, '\0');
    std::vector<ScriptEvent> events;
    ScriptHeader header;
    splitScript(text.data(), static_cast<int64_t>(size), events, &header);
    for (const ScriptEvent& event : events) readBack(header.tempo, event.time);
    // The editor's timeline reads the section comments of the same text, with the same header.
    const std::vector<ScriptSection> sections = readSections(reinterpret_cast<const char*>(data), size, header);
    if (sections.size() > kMaxSections) __builtin_trap();
    for (const ScriptSection& s : sections)
        if (!(s.seconds >= 0.0) || s.name.empty() || s.name.size() > kMaxSectionName) __builtin_trap();

    std::vector<Demoeffect*> scene;
    for (ScriptEvent& event : events) {
        const LineWords words = peek(event.line);
        if (!gl && mayTouchGl(words)) continue;
        if (std::strchr(event.line, '/')) continue; // a path could name a device file that never ends
        g_effects.musicTime = event.time;
        runEvent(event, scene);
    }
    if (gl) drawScene(scene);

    EffectRegistry::destroyOwned(); // every effect the script made, rebound names included
    resetProcessState();
    if (gl) fuzzgl::deleteAllObjects();
    return 0;
}
