// Image effect: the effect's texture on a 1 x 1 square centred on its origin in the local x-y
// plane (texture top at +y), alpha blended, fixed function unless the script gives a program.
// It has no per-type commands and prints nothing for any.
#pragma once
#include "effects/Demoeffect.h"

class Image : public Demoeffect {
public:
    Image() = default;
    Image(const Image&) = default;
    void draw() override;
    Demoeffect* clone() override;
    void local(float time, char* argument) override;
};
