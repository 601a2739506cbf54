// Camera: sets the view from its position and yaw/pitch/roll fractions, switches on one fixed
// directional light and material, and draws its children inside that view. It has no geometry,
// program, texture or scale of its own and keeps the base (empty) per-type command handler.
#pragma once
#include "effects/Demoeffect.h"

class Camera : public Demoeffect {
public:
    Camera();
    Camera(const Camera&) = default;
    void update() override;
    void draw() override;
    Demoeffect* clone() override;
};

// Unit view direction for a yaw fraction and a pitch fraction (0.5, 0.5 looks along -z). A pitch
// on a pole (a whole number) is moved a hair towards the equator so the view stays defined.
void cameraViewDirection(float yaw, float pitch, float out[3]);
