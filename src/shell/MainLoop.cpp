// The run of the demo: the start question, the window, the Demo, and the main loop that drains the
// event queue, then either ends on Escape (or Alt-F4, for desktops whose window manager does not
// turn it into a close request) or draws and presents a frame (ending instead when the script's
// END ran in it), and restarts on F1 or F5 (F1 also flips between fullscreen and windowed). Every
// way out goes through the same shutdown. The swap waits for the display's refresh where the driver
// offers it (see Window.cpp); where it does not, the loop sleeps until the next refresh instead
// (FramePacer.h).
#include <memory>
#include "demo/Demo.h"
#include "demo/ProcessState.h"
#include "shell/FrameLog.h"
#include "shell/FramePacer.h"
#include "shell/PlatformClock.h"
#include "shell/Shell.h"

namespace {
// Drains the whole event queue. False once the quit event has been taken.
bool pumpEvents()
{
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT) return false;
        handleWindowEvent(event);
    }
    return true;
}

// Replaces the Demo, the window and its context. False when the new window cannot be made.
bool restart(std::unique_ptr<Demo>& demo)
{
    const bool flip = g_keys[KeyF1];
    g_keys[KeyF1] = false;
    g_keys[KeyF5] = false;
    demo.reset();
    destroyWindow();
    // The registries hold GL names of the context that just went away.
    resetProcessState();
    if (flip) g_fullscreen = !g_fullscreen;
    useScriptTitle(); // the script is read again, its title too
    if (!createWindow()) return false;
    demo = std::make_unique<Demo>(platformClock());
    return true;
}

// Runs until the window is closed, Escape is held or the script's END has run. False when a restart
// could not open a window.
bool mainLoop(std::unique_ptr<Demo>& demo)
{
    for (;;) {
        if (!pumpEvents()) return true;
        bool done = false;
        if (g_active) {
            if (g_keys[KeyEscape] || (g_keys[KeyAlt] && g_keys[KeyF4])) {
                done = true;
            } else if (demo->renderFrame()) {
                presentFrame(g_window);
                paceFrame();
            } else {
                done = true; // the script's END: the frame it ran in is not shown
            }
        }
        if (done) return true;
        if ((g_keys[KeyF1] || g_keys[KeyF5]) && !restart(demo)) return false;
    }
}
} // namespace

int runZemblar(Options::Start start)
{
    // Unanswered, the demo starts fullscreen (the default button).
    if (start == Options::Start::Ask)
        g_fullscreen =
            askYesNo("Would You Like to Run in FullScreen mode?", "Start Fullscreen?", BoxIcon::Information, true);
    else
        g_fullscreen = start == Options::Start::Fullscreen;
    useScriptTitle();
    if (!createWindow()) return 0;
    SDL_Delay(25);
    auto demo = std::make_unique<Demo>(platformClock());
    mainLoop(demo);
    // Stop the music before the window goes, so the mixer thread is idle at exit.
    demo.reset();
    destroyWindow();
    SDL_Quit();
    return 0;
}
