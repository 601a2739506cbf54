// Image effect (placeholder: draws like a plain group node until its own draw lands).
#pragma once
#include "effects/Demoeffect.h"

class Image : public Demoeffect {
public:
    Image() = default;
    Image(const Image&) = default;
    Demoeffect* clone() override;
};
