#include "support/GlFixture.h"
#include "effects/EffectRegistry.h"
#include "effects/Globals.h"
#include "resources/ShaderLibrary.h"
#include "resources/TextureLibrary.h"
#include "shell/OffscreenContext.h"

void GlTest::SetUp()
{
    ASSERT_TRUE(createOffscreenContext(1280, 720)) << "no GL context (run under xvfb-run)";
    EffectRegistry::clear();
    clearShaderLibrary();
    clearTextureLibrary();
    g_musicTime = g_frameDelta = g_wallTime = 0.0;
    g_boundProgram = 0;
    glUseProgram(0);
    glViewport(0, 0, 1280, 720);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    while (glGetError() != GL_NO_ERROR) {}
}

void GlTest::TearDown()
{
    glUseProgram(0);
    g_boundProgram = 0;
}

void readModelView(float out[16])
{
    glGetFloatv(GL_MODELVIEW_MATRIX, out);
}
