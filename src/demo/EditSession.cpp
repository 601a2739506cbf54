// The edit session: the rebuild, the frame-by-frame seek, and the reloads with what they print.
#include "demo/EditSession.h"
#include <cmath>
#include "demo/ShowFiles.h"
#include "effects/EffectRegistry.h"
#include "effects/Globals.h"
#include "effects/Random.h"

uint32_t EditClock::milliseconds()
{
    return static_cast<uint32_t>(std::llround(now * 1000.0));
}

EditSession::EditSession(const DemoSetup& setup) : setup_(setup), watch_(setup.watch)
{
    setup_.listEvents = false;
    setup_.watch = this;
    messages_.print(collectMessages([&] { build(); }));
}

EditSession::~EditSession()
{
    destroy();
}

void EditSession::destroy()
{
    demo_.reset();
    EffectRegistry::destroyOwned();
    EffectRegistry::clear();
}

// A fresh start in the same context: the random stream and the bound program as a new process
// has them; the libraries keep what they hold.
void EditSession::build()
{
    reseedRandom();
    glUseProgram(0);
    g_effects.boundProgram = 0;
    clock_.now = 0.0;
    nextFrame_ = 0;
    demo_ = std::make_unique<Demo>(clock_, setup_);
    ++builds_;
}

void EditSession::seek(double t)
{
    messages_.print(collectMessages([&] { moveTo(t); }));
}

void EditSession::play(double t)
{
    if (t < time()) {
        seek(t);
        return;
    }
    playing_ = true;
    messages_.print(collectMessages([&] { moveTo(t); }));
    playing_ = false;
}

// While playing, the messages of the events before this one are printed ahead of its "Doing:"
// line, and the collection goes on for its own.
bool EditSession::beforeEvent(const ScriptEvent& event, size_t index)
{
    const bool runs = !watch_ || watch_->beforeEvent(event, index);
    if (runs && playing_) {
        messages_.print(endMessageCollection());
        printMessage("Doing: %s\n", event.line);
        startMessageCollection();
    }
    return runs;
}

void EditSession::afterEvent(const ScriptEvent& event, size_t index)
{
    if (watch_) watch_->afterEvent(event, index);
}

void EditSession::moveTo(double t)
{
    if (!(t > 0.0)) t = 0.0;
    if (t < clock_.now) {
        destroy();
        build();
    }
    // The frames a 60 fps frame clock reads before t (the frames the renderer plays, with their
    // readings), then t itself.
    const uint32_t fps = static_cast<uint32_t>(kSeekFps);
    const long long ms = std::llround(t * 1000.0); // what the clock reads at t
    for (; FrameClock::millisecondsOf(nextFrame_, fps) < ms; ++nextFrame_) {
        clock_.now = FrameClock::millisecondsOf(nextFrame_, fps) / 1000.0;
        demo_->update();
    }
    clock_.now = t;
    demo_->update();
    if (FrameClock::millisecondsOf(nextFrame_, fps) == ms) ++nextFrame_; // t was that frame's time
}

void EditSession::rebuild()
{
    messages_.print(collectMessages([&] { rebuildHere(); }));
}

void EditSession::rebuildHere()
{
    const double t = clock_.now;
    destroy();
    build();
    moveTo(t);
}

bool EditSession::reload(const std::vector<std::string>& changed)
{
    std::vector<std::string> taken;
    const std::vector<std::string> messages = collectMessages([&] {
        taken = takeChangedFiles(changed, setup_.scriptPath);
        if (!taken.empty()) rebuildHere();
    });
    if (taken.empty()) return false;
    std::string list;
    for (const std::string& path : taken) list += (list.empty() ? "" : " ") + path;
    printMessage("Reloaded %s at %.3f\n", list.c_str(), time());
    messages_.forget();
    messages_.print(messages);
    return true;
}

void EditSession::reloadEverything()
{
    const std::vector<std::string> messages = collectMessages([&] {
        reloadHeldFiles();
        rebuildHere();
    });
    printMessage("Reloaded everything at %.3f\n", time());
    messages_.forget();
    messages_.print(messages);
}

std::vector<std::string> EditSession::namedFiles() const
{
    return ::namedFiles(setup_.scriptPath);
}
