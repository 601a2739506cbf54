// Particles effect (placeholder: draws like a plain group node until its own draw lands).
#pragma once
#include "effects/Demoeffect.h"

class Particles : public Demoeffect {
public:
    Particles() = default;
    Particles(const Particles&) = default;
    Demoeffect* clone() override;
};
