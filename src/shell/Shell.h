// The runtime shell on SDL2: the one output window and its OpenGL 3.3 compatibility context, the
// projection, the event handling that keeps the key and activity state, and the main loop.
#pragma once
#include <SDL.h>
#include <cstdint>
#include <string>
#include "shell/Screen.h"

// Codes of the keys the shell reads, g_keys is indexed by them. They keep the numbers of Windows
// virtual-key codes (letters and digits are their ASCII capitals), the key table the demo was made with.
enum : int {
    KeyBackspace = 0x08,
    KeyTab = 0x09,
    KeyReturn = 0x0D,
    KeyShift = 0x10,
    KeyControl = 0x11,
    KeyAlt = 0x12,
    KeyPause = 0x13,
    KeyEscape = 0x1B,
    KeySpace = 0x20,
    KeyLeft = 0x25,
    KeyUp = 0x26,
    KeyRight = 0x27,
    KeyDown = 0x28,
    KeyF1 = 0x70,
    KeyF5 = 0x74,
    KeyF12 = 0x7B
};
constexpr int kKeyCount = 256;

extern bool g_keys[kKeyCount]; // true while the key with that key code is down
extern bool g_fullscreen;      // the user's choice; true at start
extern bool g_active;          // false while the window is minimised
extern SDL_Window* g_window;   // the demo window; null when none
extern SDL_GLContext g_renderContext;
extern std::string g_windowTitle; // the title of windows made from now on ("Zemblar" at start)

// Takes the window title from the TITLE line of the demo's script (the default without one).
void useScriptTitle();

// Opens the window (fullscreen or windowed as g_fullscreen says) with its GL 3.3 compatibility
// context current, shows it and sets the projection. On failure it has shown the reason in a
// message box, released what it had made, and returns false.
bool createWindow();
// Releases the context and the window and restores the desktop mode. Safe with parts missing.
void destroyWindow();
// Applies one window event to the shell state: activity, close (posts a quit), keys, size.
void handleWindowEvent(const SDL_Event& event);
// Clears g_keys, and ignores each key marked in `held` until it has been released. Windows call
// ignoreKeysHeldNow as they open: it asks the window system which of the keys the shell acts on
// (Escape, F1, F5) are down.
void ignoreKeysHeld(const bool held[kKeyCount]);
void ignoreKeysHeldNow(SDL_Window* window);
// The key code of an SDL key, or -1 for keys the demo has no code for.
int keyCodeOf(SDL_Keycode key);

// Message boxes without an owner window; icon kinds as the shell uses them.
enum class BoxIcon { Information, Warning, Error };
void showShellMessage(const char* text, const char* caption, BoxIcon icon);
// Asks a Yes/No question (Return answers Yes, Escape answers No) and returns the answer. When no
// button is chosen (the box is closed) or the box cannot be shown, the answer is `unanswered`; a box
// that cannot be shown prints its caption, text and that answer.
bool askYesNo(const char* text, const char* caption, BoxIcon icon, bool unanswered);

// The start question and the whole run: window, Demo, main loop, restarts, shutdown. Returns the
// process exit status.
int runZemblar();
