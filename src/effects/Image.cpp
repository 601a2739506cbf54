// Image effect: the textured, blended unit quad.
#include "effects/Image.h"
#include <new>

Demoeffect* Image::clone()
{
    return new (std::nothrow) Image(*this);
}

void Image::local(float, char* argument)
{
    splitLocal(argument); // cuts the text like every handler; there are no words to act on
}

void Image::draw()
{
    Demoeffect::draw();
    const GLboolean hadTexture = glIsEnabled(GL_TEXTURE_2D);
    const GLboolean hadBlend = glIsEnabled(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor3f(1, 1, 1);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 1);
    glVertex3f(-0.5f, 0.5f, 0);
    glTexCoord2f(0, 0);
    glVertex3f(-0.5f, -0.5f, 0);
    glTexCoord2f(1, 0);
    glVertex3f(0.5f, -0.5f, 0);
    glTexCoord2f(1, 1);
    glVertex3f(0.5f, 0.5f, 0);
    glEnd();
    if (!hadTexture) glDisable(GL_TEXTURE_2D);
    if (!hadBlend) glDisable(GL_BLEND);
}
