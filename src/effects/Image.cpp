// Image effect: the textured, blended unit quad.
#include "effects/Image.h"
#include <new>
#include "effects/BlendState.h"

Demoeffect* Image::clone()
{
    return new (std::nothrow) Image(*this);
}

void Image::local(float, char* argument)
{
    splitLocal(argument); // cuts the text like every handler; there are no words to act on
    noteIgnoredLocal();
}

void Image::draw()
{
    Demoeffect::draw();
    const AlphaBlendScope blend;
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
}
