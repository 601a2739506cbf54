// Textured, alpha-blended immediate-mode drawing for the image and text effects: switches texturing
// and blending on with the usual alpha blend function, and on leaving the scope switches off again
// whichever of the two was off before. The blend function stays set; colour is the caller's.
#pragma once
#include "resources/Gl.h"

class AlphaBlendScope {
public:
    AlphaBlendScope() : hadTexture_(glIsEnabled(GL_TEXTURE_2D)), hadBlend_(glIsEnabled(GL_BLEND))
    {
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    ~AlphaBlendScope()
    {
        if (!hadTexture_) glDisable(GL_TEXTURE_2D);
        if (!hadBlend_) glDisable(GL_BLEND);
    }
    AlphaBlendScope(const AlphaBlendScope&) = delete;
    AlphaBlendScope& operator=(const AlphaBlendScope&) = delete;

private:
    const GLboolean hadTexture_, hadBlend_;
};
