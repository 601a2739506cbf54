// GL context attributes and GLEW initialisation on SDL2.
#include "shell/GlContext.h"
#include <SDL.h>
#include "resources/Gl.h"

void setGlContextAttributes()
{
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, 0);
}

// GLEW 2.1 may report "no GLX display" (error 4) when it probes the wrong window system (EGL
// set-ups) although every GL entry point loaded; that case is not a failure.
const char* initGlew()
{
    glewExperimental = GL_TRUE;
    const GLenum err = glewInit();
    glGetError(); // glewInit can leave an error flag behind on core-capable drivers
    if (err == GLEW_OK || err == 4 /* GLEW_ERROR_NO_GLX_DISPLAY */) return nullptr;
    return reinterpret_cast<const char*>(glewGetErrorString(err));
}
