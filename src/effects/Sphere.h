// Sphere effect (placeholder: draws like a plain group node until its own draw lands).
#pragma once
#include "effects/Demoeffect.h"

class Sphere : public Demoeffect {
public:
    Sphere() = default;
    Sphere(const Sphere&) = default;
    Demoeffect* clone() override;
};
