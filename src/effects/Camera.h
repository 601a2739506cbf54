// Camera effect (placeholder: draws like a plain group node until its own draw lands).
#pragma once
#include "effects/Demoeffect.h"

class Camera : public Demoeffect {
public:
    Camera() = default;
    Camera(const Camera&) = default;
    Demoeffect* clone() override;
};
