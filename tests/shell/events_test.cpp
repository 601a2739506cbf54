// Window events into shell state with synthetic SDL events (closing the window is run end to end).
#include <gtest/gtest.h>
#include <utility>
#include "shell/Shell.h"

namespace {
SDL_Event event(Uint32 type, SDL_Keycode key, Uint8 windowEvent = 0)
{
    SDL_Event e = {};
    e.type = type;
    if (type == SDL_WINDOWEVENT)
        e.window.event = windowEvent;
    else
        e.key.keysym.sym = key;
    return e;
}
} // namespace

TEST(HandleWindowEvent, KeysTheLoopReadsAndWindowStates)
{
    // The keys the main loop acts on, by the codes it reads them at.
    for (const auto& [key, code] : {std::pair<SDL_Keycode, int>{SDLK_ESCAPE, 0x1B}, {SDLK_F1, 0x70}, {SDLK_F5, 0x74}}) {
        handleWindowEvent(event(SDL_KEYDOWN, key));
        EXPECT_TRUE(g_keys[code]) << code;
        handleWindowEvent(event(SDL_KEYUP, key));
    }
    handleWindowEvent(event(SDL_KEYDOWN, SDLK_CAPSLOCK)); // no code: nothing changes
    for (bool down : g_keys) EXPECT_FALSE(down);

    // Minimising stops drawing until the window is restored; losing focus alone does not.
    const std::pair<Uint8, bool> states[] = {{SDL_WINDOWEVENT_MINIMIZED, false},
                                             {SDL_WINDOWEVENT_FOCUS_LOST, false},
                                             {SDL_WINDOWEVENT_RESTORED, true},
                                             {SDL_WINDOWEVENT_FOCUS_LOST, true}};
    for (const auto& [what, active] : states) {
        handleWindowEvent(event(SDL_WINDOWEVENT, 0, what));
        EXPECT_EQ(g_active, active) << int(what);
    }
}

TEST(HandleWindowEvent, AKeyHeldWhenTheWindowOpensCountsOnlyAfterItsRelease)
{
    bool held[kKeyCount] = {};
    held[KeyEscape] = true; // still down from answering the start question
    g_keys[KeyF5] = true;   // left over from the window before
    ignoreKeysHeld(held);
    EXPECT_FALSE(g_keys[KeyF5]);
    handleWindowEvent(event(SDL_KEYDOWN, SDLK_ESCAPE)); // the held key repeating into the new window
    EXPECT_FALSE(g_keys[KeyEscape]);
    handleWindowEvent(event(SDL_KEYUP, SDLK_ESCAPE));
    handleWindowEvent(event(SDL_KEYDOWN, SDLK_ESCAPE)); // pressed afresh
    EXPECT_TRUE(g_keys[KeyEscape]);
    handleWindowEvent(event(SDL_KEYUP, SDLK_ESCAPE));
}
