// Model effect (placeholder: draws like a plain group node until its own draw lands).
#pragma once
#include "effects/Demoeffect.h"

class Model : public Demoeffect {
public:
    Model() = default;
    Model(const Model&) = default;
    Demoeffect* clone() override;
};
