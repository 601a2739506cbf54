// The GL state every effect may rely on when it starts to draw.
#include "effects/DrawState.h"
#include "effects/Globals.h"
#include "resources/Gl.h"

namespace {
// Lighting off, and light 0 as a fresh context has it, which is what a program drawn before the
// camera reads from gl_LightSource. The camera turns lighting on with its own light and material
// and leaves it on for what it draws after itself. Materials are left to the camera, which makes
// them follow the current colour: setting them here too made Mesa keep these values instead.
void resetLighting()
{
    static const GLfloat modelAmbient[] = {0.2f, 0.2f, 0.2f, 1.0f};
    static const GLfloat black[] = {0.0f, 0.0f, 0.0f, 1.0f};
    static const GLfloat white[] = {1.0f, 1.0f, 1.0f, 1.0f};
    static const GLfloat towardsViewer[] = {0.0f, 0.0f, 1.0f, 0.0f}; // given under the identity matrix
    glDisable(GL_LIGHTING);
    glDisable(GL_LIGHT0);
    glDisable(GL_NORMALIZE);
    glDisable(GL_COLOR_MATERIAL);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, modelAmbient);
    glLightfv(GL_LIGHT0, GL_AMBIENT, black);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT0, GL_SPECULAR, white);
    glLightfv(GL_LIGHT0, GL_POSITION, towardsViewer);
}
} // namespace

void resetDrawState()
{
    glUseProgram(0);
    g_effects.boundProgram = 0;
    glBindVertexArray(0);
    glActiveTexture(GL_TEXTURE0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glDisable(GL_TEXTURE_2D);
    // The blend function the image and text effects set: meshes drawn before any of them (or in a
    // show without them) blend the same way.
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glDepthMask(GL_TRUE);
    glDisable(GL_ALPHA_TEST);
    glAlphaFunc(GL_ALWAYS, 0.0f);
    resetLighting();
}
