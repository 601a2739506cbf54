// Window events into shell state: minimise and restore set
// g_active, a close request posts the quit event, key presses and releases set g_keys by
// key code, and size changes reset the projection. Other events are left alone. A key that
// is already down when a window opens (Escape still held from answering the start question, the F5
// that restarted) is ignored in that window until it is released.
#include <SDL_syswm.h>
#if defined(SDL_VIDEO_DRIVER_X11)
#include <X11/keysym.h>
#endif
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
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return KeyReturn;
    case SDLK_SPACE: return KeySpace;
    case SDLK_TAB: return KeyTab;
    case SDLK_BACKSPACE: return KeyBackspace;
    case SDLK_PAUSE: return KeyPause;
    case SDLK_LEFT: return KeyLeft;
    case SDLK_UP: return KeyUp;
    case SDLK_RIGHT: return KeyRight;
    case SDLK_DOWN: return KeyDown;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return KeyShift;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return KeyControl;
    case SDLK_LALT:
    case SDLK_RALT: return KeyAlt;
    default: return -1;
    }
}

namespace {
bool g_heldOver[kKeyCount] = {}; // down when the window opened and not released since

void setKey(SDL_Keycode key, bool down)
{
    const int code = keyCodeOf(key);
    if (code < 0 || code >= kKeyCount) return;
    if (!down) g_heldOver[code] = false;
    if (!g_heldOver[code]) g_keys[code] = down;
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

void ignoreKeysHeld(const bool held[kKeyCount])
{
    for (int code = 0; code < kKeyCount; ++code) {
        g_keys[code] = false;
        g_heldOver[code] = held[code];
    }
}

void ignoreKeysHeldNow(SDL_Window* window)
{
    bool held[kKeyCount] = {};
#if defined(SDL_VIDEO_DRIVER_X11)
    // SDL reports a key held from before its window had the focus as a fresh press; only the X
    // server knows it was down already.
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window && SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11) {
        char keymap[32] = {};
        XQueryKeymap(info.info.x11.display, keymap);
        const struct {
            KeySym sym;
            int code;
        } keys[] = {{XK_Escape, KeyEscape}, {XK_F1, KeyF1}, {XK_F5, KeyF5}};
        for (const auto& key : keys) {
            const KeyCode x = XKeysymToKeycode(info.info.x11.display, key.sym);
            held[key.code] = x != 0 && (keymap[x / 8] & (1 << (x % 8))) != 0;
        }
    }
#else
    (void)window;
#endif
    ignoreKeysHeld(held);
}

void handleWindowEvent(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_WINDOWEVENT: windowEvent(event.window); break;
    case SDL_KEYDOWN: setKey(event.key.keysym.sym, true); break;
    case SDL_KEYUP: setKey(event.key.keysym.sym, false); break;
    default: break;
    }
}
