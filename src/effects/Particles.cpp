// Particles: the per-type commands, "init" and the draw around the formation step.
#include "effects/Particles.h"
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include "effects/EffectRegistry.h"
#include "effects/Globals.h"
#include "resources/Messages.h"
#include "resources/Numbers.h"

bool particleTypeWord(const char* word, int32_t& type)
{
    static const struct {
        const char* word;
        int32_t value;
    } types[] = {{"town", FormationTown}, {"tube", FormationTube}, {"spike", FormationSpike}};
    for (const auto& t : types)
        if (std::strcmp(word, t.word) == 0) return type = t.value, true;
    return false;
}

bool particleAnimWord(const char* word, int32_t& anim)
{
    static const struct {
        const char* word;
        int32_t value;
    } modes[] = {{"none", AnimNone},   {"sine", AnimSine}, {"wonk", AnimWonk},
                 {"dinky", AnimDinky}, {"burn", AnimBurn}, {"sinepulse", AnimSinePulse}};
    for (const auto& m : modes)
        if (std::strcmp(word, m.word) == 0) return anim = m.value, true;
    return false;
}

Demoeffect* Particles::clone()
{
    return new (std::nothrow) Particles(*this);
}

void Particles::formationStep()
{
    const FormationSettings settings{countx, county, padx, pady, type, anim, state, texture, startTime};
    stepFormation(settings, children.data(), children.size(), g_effects.musicTime, g_effects.frameDelta);
}

void Particles::update()
{
    if (!initialized) return;
    formationStep();
    Demoeffect::update();
}

void Particles::draw()
{
    if (!initialized) return;
    Demoeffect::draw();
}

void Particles::init(const char* templateName)
{
    Demoeffect* tmpl = EffectRegistry::findOrAdd(templateName);
    if (initialized) return;
    if (!tmpl) {
        printMessage("init: no effect named %s\n", templateName);
        return;
    }
    if (tmpl->reaches(this)) {
        printMessage("init: %s contains this particle system\n", templateName);
        return;
    }
    const int64_t wanted = static_cast<int64_t>(countx) * county;
    if (wanted > kMaxChildren) {
        printMessage("init: %lld particles are more than %lld\n", static_cast<long long>(wanted),
                     static_cast<long long>(kMaxChildren));
        return;
    }
    if (!made_) made_ = std::make_shared<std::vector<std::unique_ptr<Demoeffect>>>();
    if (wanted > 0) {
        made_->reserve(made_->size() + static_cast<size_t>(wanted));
        children.reserve(children.size() + static_cast<size_t>(wanted));
    }
    for (int64_t n = 0; n < wanted; ++n) {
        Demoeffect* copy = tmpl->clone();
        if (!copy) continue;
        made_->emplace_back(copy);
        addChild(copy);
    }
    formationStep();
    initialized = 1;
}

void Particles::local(float time, char* argument)
{
    const LocalArgs args = splitLocal(argument);
    const char* word = args.word;
    const char* arg = args.args[0];
    if (std::strcmp(word, "init") == 0)
        init(arg);
    else if (std::strcmp(word, "x") == 0)
        countx = saturatingInt32(arg);
    else if (std::strcmp(word, "y") == 0)
        county = saturatingInt32(arg);
    else if (std::strcmp(word, "padx") == 0)
        padx = static_cast<float>(std::atof(arg));
    else if (std::strcmp(word, "pady") == 0)
        pady = static_cast<float>(std::atof(arg));
    else if (std::strcmp(word, "type") == 0)
        particleTypeWord(arg, type);
    else if (std::strcmp(word, "anim") == 0) {
        if (particleAnimWord(arg, anim) && anim == AnimSinePulse) startTime = time;
    } else {
        reportFailedLocal(args);
    }
}
