// The edit session: the rebuild and the frame-by-frame seek.
#include "demo/EditSession.h"
#include <cmath>
#include "effects/EffectRegistry.h"
#include "effects/Globals.h"
#include "effects/Random.h"

uint32_t EditClock::milliseconds()
{
    return static_cast<uint32_t>(std::llround(now * 1000.0));
}

EditSession::EditSession(const DemoSetup& setup) : setup_(setup)
{
    build();
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
    demo_ = std::make_unique<Demo>(clock_, setup_);
}

void EditSession::seek(double t)
{
    if (!(t > 0.0)) t = 0.0;
    if (t < clock_.now) {
        destroy();
        build();
    }
    // Whole frames of the 60 fps grid strictly between the current time and t, then t itself.
    for (double k = std::floor(clock_.now * kSeekFps) + 1.0; k / kSeekFps < t; k += 1.0) {
        clock_.now = k / kSeekFps;
        demo_->update();
    }
    clock_.now = t;
    demo_->update();
}

void EditSession::rebuild()
{
    const double t = clock_.now;
    destroy();
    build();
    seek(t);
}
