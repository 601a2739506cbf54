// Hidden SDL window with a GL 3.3 compatibility context.
#include "shell/OffscreenContext.h"
#include <SDL.h>
#include <cstdio>
#include "resources/Gl.h"

namespace {
SDL_Window* g_hiddenWindow = nullptr;
SDL_GLContext g_hiddenContext = nullptr;

void setContextAttributes()
{
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
}
} // namespace

bool createOffscreenContext(int width, int height)
{
    if (g_hiddenContext) return SDL_GL_MakeCurrent(g_hiddenWindow, g_hiddenContext) == 0;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::printf("SDL video: %s\n", SDL_GetError());
        return false;
    }
    setContextAttributes();
    g_hiddenWindow = SDL_CreateWindow("Zemblar", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width, height,
                                      SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!g_hiddenWindow) {
        std::printf("SDL window: %s\n", SDL_GetError());
        return false;
    }
    g_hiddenContext = SDL_GL_CreateContext(g_hiddenWindow);
    if (!g_hiddenContext) {
        std::printf("SDL GL context: %s\n", SDL_GetError());
        destroyOffscreenContext();
        return false;
    }
    glewExperimental = GL_TRUE;
    const GLenum err = glewInit();
    // GLEW 2.1 reports "no GLX display" under some EGL setups although every entry point loaded.
    if (err != GLEW_OK && err != 4 /* GLEW_ERROR_NO_GLX_DISPLAY */) {
        std::printf("GLEW: %s\n", reinterpret_cast<const char*>(glewGetErrorString(err)));
        destroyOffscreenContext();
        return false;
    }
    glGetError(); // glewInit may leave an error behind on core-capable drivers
    return true;
}

void destroyOffscreenContext()
{
    if (g_hiddenContext) SDL_GL_DeleteContext(g_hiddenContext);
    if (g_hiddenWindow) SDL_DestroyWindow(g_hiddenWindow);
    g_hiddenContext = nullptr;
    g_hiddenWindow = nullptr;
    SDL_Quit();
}
