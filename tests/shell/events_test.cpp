// Window events into shell state with synthetic SDL events (closing the window is run end to end).
#include <gtest/gtest.h>
#include <utility>
#include "shell/Shell.h"

namespace {
SDL_Event event(Uint32 type, SDL_Keycode key, Uint8 windowEvent = 0)
{
    SDL_Event e = {};
    e.type = type;
    if (type == SDL_WINDOWEVENT) e.window.event = windowEvent;
    else e.key.keysym.sym = key;
    return e;
}
} // namespace

TEST(WindowProc, KeysTheLoopReadsAndWindowStates)
{
    // The keys the main loop acts on, by the codes it reads them at.
    for (const auto& [key, code] : {std::pair<SDL_Keycode, int>{SDLK_ESCAPE, 0x1B}, {SDLK_F1, 0x70}, {SDLK_F5, 0x74}}) {
        windowProc(event(SDL_KEYDOWN, key));
        EXPECT_TRUE(g_keys[code]) << code;
        windowProc(event(SDL_KEYUP, key));
    }
    windowProc(event(SDL_KEYDOWN, SDLK_CAPSLOCK)); // no code: nothing changes
    for (bool down : g_keys) EXPECT_FALSE(down);

    // Minimising stops drawing until the window is restored; losing focus alone does not.
    const std::pair<Uint8, bool> states[] = {{SDL_WINDOWEVENT_MINIMIZED, false}, {SDL_WINDOWEVENT_FOCUS_LOST, false},
                                             {SDL_WINDOWEVENT_RESTORED, true}, {SDL_WINDOWEVENT_FOCUS_LOST, true}};
    for (const auto& [what, active] : states) {
        windowProc(event(SDL_WINDOWEVENT, 0, what));
        EXPECT_EQ(g_active, active) << int(what);
    }
}
