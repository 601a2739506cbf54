// Window events into shell state, and the key-code mapping, with synthetic SDL events. (Closing
// the window is run end to end.)
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

TEST(KeyCodeOf, MapsTheEndsOfEachRangeAndNothingElse)
{
    const std::pair<SDL_Keycode, int> cases[] = {
        {SDLK_ESCAPE, 0x1B}, {SDLK_F1, 0x70}, {SDLK_F12, 0x7B}, {SDLK_a, 'A'},        {SDLK_z, 'Z'},
        {SDLK_0, '0'},       {SDLK_9, '9'},   {SDLK_UP, 0x26},  {SDLK_CAPSLOCK, -1}, {SDLK_AUDIOPLAY, -1}};
    for (const auto& [key, code] : cases) EXPECT_EQ(keyCodeOf(key), code) << key;
}

TEST(HandleWindowEvent, KeysAndWindowStates)
{
    handleWindowEvent(event(SDL_KEYDOWN, SDLK_F5));
    EXPECT_TRUE(g_keys[0x74]);
    handleWindowEvent(event(SDL_KEYUP, SDLK_F5));
    handleWindowEvent(event(SDL_KEYDOWN, SDLK_CAPSLOCK)); // no code: nothing changes
    for (bool down : g_keys) EXPECT_FALSE(down);

    // Minimising stops drawing until the window is restored; losing focus alone does not.
    const std::pair<Uint8, bool> states[] = {{SDL_WINDOWEVENT_MINIMIZED, false}, {SDL_WINDOWEVENT_FOCUS_LOST, false},
                                             {SDL_WINDOWEVENT_RESTORED, true}, {SDL_WINDOWEVENT_FOCUS_LOST, true}};
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
