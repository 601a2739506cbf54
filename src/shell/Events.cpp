// Window events into shell state: minimise and restore set
// g_active, a close request posts the quit event, key presses and releases set g_keys by
// key code, and size changes reset the projection. Other events are left alone.
#include "shell/Shell.h"

bool g_keys[kKeyCount] = {};
bool g_fullscreen = true;
bool g_active = true;

int keyCodeOf(SDL_Keycode key)
{
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12) return KeyF1 + (key - SDLK_F1);
    switch (key) {
    case SDLK_ESCAPE: return KeyEscape;
    case SDLK_RETURN: case SDLK_KP_ENTER: return KeyReturn;
    case SDLK_SPACE: return KeySpace;
    case SDLK_TAB: return KeyTab;
    case SDLK_BACKSPACE: return KeyBackspace;
    case SDLK_PAUSE: return KeyPause;
    case SDLK_LEFT: return KeyLeft;
    case SDLK_UP: return KeyUp;
    case SDLK_RIGHT: return KeyRight;
    case SDLK_DOWN: return KeyDown;
    case SDLK_LSHIFT: case SDLK_RSHIFT: return KeyShift;
    case SDLK_LCTRL: case SDLK_RCTRL: return KeyControl;
    case SDLK_LALT: case SDLK_RALT: return KeyAlt;
    default: return -1;
    }
}

namespace {
void setKey(SDL_Keycode key, bool down)
{
    const int code = keyCodeOf(key);
    if (code >= 0 && code < kKeyCount) g_keys[code] = down;
}

void postQuit()
{
    SDL_Event quit = {};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
}

void windowEvent(const SDL_WindowEvent& event)
{
    switch (event.event) {
    case SDL_WINDOWEVENT_MINIMIZED: g_active = false; break;
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED: g_active = true; break;
    case SDL_WINDOWEVENT_CLOSE: postQuit(); break;
    case SDL_WINDOWEVENT_SIZE_CHANGED: resizeScene(event.data1, event.data2); break;
    default: break;
    }
}
} // namespace

void handleWindowEvent(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_WINDOWEVENT: windowEvent(event.window); break;
    case SDL_KEYDOWN: setKey(event.key.keysym.sym, true); break;
    case SDL_KEYUP: setKey(event.key.keysym.sym, false); break;
    default: break;
    }
}
