// Window events into shell state, and the key-code mapping, with synthetic SDL events.
#include <gtest/gtest.h>
#include "shell/Shell.h"

namespace {
SDL_Event keyEvent(Uint32 type, SDL_Keycode key)
{
    SDL_Event e = {};
    e.type = type;
    e.key.keysym.sym = key;
    return e;
}

SDL_Event windowEvent(Uint8 what)
{
    SDL_Event e = {};
    e.type = SDL_WINDOWEVENT;
    e.window.event = what;
    return e;
}
} // namespace

TEST(VirtualKeyCode, MapsTheDemoKeysLettersAndDigits)
{
    EXPECT_EQ(virtualKeyCode(SDLK_ESCAPE), 0x1B);
    EXPECT_EQ(virtualKeyCode(SDLK_F1), 0x70);
    EXPECT_EQ(virtualKeyCode(SDLK_F5), 0x74);
    EXPECT_EQ(virtualKeyCode(SDLK_F12), 0x7B);
    EXPECT_EQ(virtualKeyCode(SDLK_a), 'A');
    EXPECT_EQ(virtualKeyCode(SDLK_z), 'Z');
    EXPECT_EQ(virtualKeyCode(SDLK_0), '0');
    EXPECT_EQ(virtualKeyCode(SDLK_9), '9');
    EXPECT_EQ(virtualKeyCode(SDLK_RETURN), 0x0D);
    EXPECT_EQ(virtualKeyCode(SDLK_UP), 0x26);
    EXPECT_EQ(virtualKeyCode(SDLK_CAPSLOCK), -1);
    EXPECT_EQ(virtualKeyCode(SDLK_AUDIOPLAY), -1);
}

TEST(WindowProc, KeysGoDownAndUpByVirtualKeyCode)
{
    windowProc(keyEvent(SDL_KEYDOWN, SDLK_ESCAPE));
    windowProc(keyEvent(SDL_KEYDOWN, SDLK_F5));
    EXPECT_TRUE(g_keys[0x1B]);
    EXPECT_TRUE(g_keys[0x74]);
    windowProc(keyEvent(SDL_KEYUP, SDLK_ESCAPE));
    EXPECT_FALSE(g_keys[0x1B]);
    EXPECT_TRUE(g_keys[0x74]);
    windowProc(keyEvent(SDL_KEYUP, SDLK_F5));
    windowProc(keyEvent(SDL_KEYDOWN, SDLK_CAPSLOCK)); // no code: nothing changes
    for (bool down : g_keys) EXPECT_FALSE(down);
}

TEST(WindowProc, MinimiseStopsAndRestoreResumesDrawing)
{
    EXPECT_TRUE(g_active);
    windowProc(windowEvent(SDL_WINDOWEVENT_MINIMIZED));
    EXPECT_FALSE(g_active);
    windowProc(windowEvent(SDL_WINDOWEVENT_FOCUS_LOST));
    EXPECT_FALSE(g_active);
    windowProc(windowEvent(SDL_WINDOWEVENT_RESTORED));
    EXPECT_TRUE(g_active);
    windowProc(windowEvent(SDL_WINDOWEVENT_FOCUS_LOST)); // losing focus alone keeps drawing
    EXPECT_TRUE(g_active);
}

TEST(WindowProc, CloseRequestPostsTheQuitEvent)
{
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0);
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    windowProc(windowEvent(SDL_WINDOWEVENT_CLOSE));
    SDL_Event e;
    ASSERT_EQ(SDL_PollEvent(&e), 1);
    EXPECT_EQ(e.type, static_cast<Uint32>(SDL_QUIT));
    SDL_QuitSubSystem(SDL_INIT_EVENTS);
}
