// The demo window and its OpenGL 3.3 compatibility context (24-bit depth, 8-bit stencil, double
// buffered, synchronised to the display's refresh) on SDL2, the optional 1280 x 720 exclusive
// fullscreen mode, and the projection.
// SDL picks the context-creation entry point itself, so no temporary legacy context is made; GLEW
// is initialised on the 3.3 context.
#include <cstdio>
#include "resources/Gl.h"
#include "resources/GlMatrix.h"
#include "script/ScriptHeader.h"
#include "script/Timeline.h"
#include "shell/FramePacer.h"
#include "shell/GlContext.h"
#include "shell/Shell.h"

SDL_Window* g_window = nullptr;
SDL_GLContext g_renderContext = nullptr;
std::string g_windowTitle = kDefaultTitle;

namespace {
const char* const kErrorCaption = "ERROR";
bool g_videoStarted = false;

void fail(const char* text)
{
    destroyWindow();
    showShellMessage(text, kErrorCaption, BoxIcon::Warning);
}

// When no display can be opened (no X server, or one that drops the connection while it resets)
// SDL falls back to drivers that draw into memory: the demo would run unseen, and nobody could
// answer its boxes or close it.
bool driverShowsWindows()
{
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver && SDL_strcmp(driver, "offscreen") != 0 && SDL_strcmp(driver, "dummy") != 0;
}

// Whether the display offers a 1280 x 720 mode for an exclusive fullscreen switch.
bool fullscreenModeAvailable()
{
    const int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) == 0 && mode.w == kWindowWidth && mode.h == kWindowHeight) return true;
    }
    return false;
}

// Step 2: keep fullscreen only if the mode exists; otherwise offer windowed mode or give up.
bool settleFullscreen()
{
    if (!g_fullscreen || fullscreenModeAvailable()) return true;
    // A question left unanswered is taken as Yes: running windowed is the safe way on.
    if (askYesNo("The Requested Fullscreen Mode is not Supported by\nyour video card. Use Windowed mode instead?",
                 "OpenGL Rules", BoxIcon::Warning, true)) {
        g_fullscreen = false;
        return true;
    }
    showShellMessage("Program will now close.", kErrorCaption, BoxIcon::Error);
    return false;
}

// The context must really be 3.3 or newer: an older one cannot run the effects' shaders.
bool contextIsAtLeast33()
{
    GLint major = 0, minor = 0;
    glGetIntegerv(GL_MAJOR_VERSION, &major);
    glGetIntegerv(GL_MINOR_VERSION, &minor);
    return major > 3 || (major == 3 && minor >= 3);
}
} // namespace

bool createWindow()
{
    if (!g_videoStarted) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            showShellMessage("Failed to register window class.", kErrorCaption, BoxIcon::Warning);
            return false;
        }
        if (!driverShowsWindows()) {
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
            showShellMessage("Failed to register window class.", kErrorCaption, BoxIcon::Warning);
            return false;
        }
        g_videoStarted = true;
    }
    if (!settleFullscreen()) return false;
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    if (g_fullscreen) {
        flags |= SDL_WINDOW_FULLSCREEN;
        SDL_ShowCursor(SDL_DISABLE);
    } else {
        flags |= SDL_WINDOW_RESIZABLE;
    }
    setGlContextAttributes();
    g_window = SDL_CreateWindow(g_windowTitle.c_str(), 0, 0, kWindowWidth, kWindowHeight, flags);
    if (!g_window) {
        fail("Window Creation Error.");
        return false;
    }
    g_renderContext = SDL_GL_CreateContext(g_window);
    if (!g_renderContext) {
        fail("Can't Create a GL 3.x Rendering Context.");
        return false;
    }
    if (SDL_GL_MakeCurrent(g_window, g_renderContext) != 0) {
        fail("Can't Activate the temp GL rendering context.");
        return false;
    }
    if (const char* glewError = initGlew()) {
        fail(glewError);
        return false;
    }
    if (!contextIsAtLeast33()) {
        fail("Can't Create a GL 3.x Rendering Context.");
        return false;
    }
    // Frames are shown on the display's refresh, so nothing tears and the GPU is not run flat out:
    // adaptive sync (a late frame is shown at once rather than a whole refresh later) where the
    // driver has it, else plain vsync.
    if (SDL_GL_SetSwapInterval(-1) != 0) SDL_GL_SetSwapInterval(1);
    startFramePacing(g_window); // a driver with neither: the loop waits for the refresh itself
    SDL_DisableScreenSaver();
    SDL_ShowWindow(g_window);
    SDL_RaiseWindow(g_window);
    g_active = true; // a new window draws, even when the one it replaces was minimised
    ignoreKeysHeldNow(g_window);
    resizeScene(kWindowWidth, kWindowHeight);
    return true;
}

void useScriptTitle()
{
    g_windowTitle = titleOf(readScriptHeaderFile(kScriptPath));
}

void destroyWindow()
{
    if (g_fullscreen) SDL_ShowCursor(SDL_ENABLE);
    if (g_renderContext) {
        if (SDL_GL_MakeCurrent(g_window, nullptr) != 0)
            showShellMessage("Release of DC and RC Failed.", "SHUTDOWN ERROR", BoxIcon::Information);
        SDL_GL_DeleteContext(g_renderContext);
        g_renderContext = nullptr;
    }
    // Destroying a fullscreen window gives the desktop its own display mode back.
    if (g_window) {
        SDL_DestroyWindow(g_window);
        g_window = nullptr;
    }
}

void resizeScene(int width, int height)
{
    if (height == 0) height = 1;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    perspective(45.0, static_cast<double>(width) / static_cast<double>(height), 0.1, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
