// Hidden SDL window with a GL 3.3 compatibility context.
#include "shell/OffscreenContext.h"
#include <SDL.h>
#include <cstdio>
#include "resources/Gl.h"
#include "resources/Messages.h"
#include "shell/GlContext.h"

namespace {
SDL_Window* g_hiddenWindow = nullptr;
SDL_GLContext g_hiddenContext = nullptr;
} // namespace

bool createOffscreenContext(int width, int height)
{
    if (g_hiddenContext) return SDL_GL_MakeCurrent(g_hiddenWindow, g_hiddenContext) == 0;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        printMessage("SDL video: %s\n", SDL_GetError());
        return false;
    }
    setGlContextAttributes();
    g_hiddenWindow = SDL_CreateWindow("Zemblar", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width, height,
                                      SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!g_hiddenWindow) {
        printMessage("SDL window: %s\n", SDL_GetError());
        return false;
    }
    g_hiddenContext = SDL_GL_CreateContext(g_hiddenWindow);
    if (!g_hiddenContext) {
        printMessage("SDL GL context: %s\n", SDL_GetError());
        destroyOffscreenContext();
        return false;
    }
    if (const char* glewError = initGlew()) {
        printMessage("GLEW: %s\n", glewError);
        destroyOffscreenContext();
        return false;
    }
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
