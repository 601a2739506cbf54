// Text effect (placeholder: draws like a plain group node until its own draw lands).
#pragma once
#include "effects/Demoeffect.h"

class Text : public Demoeffect {
public:
    Text() = default;
    Text(const Text&) = default;
    Demoeffect* clone() override;
};
