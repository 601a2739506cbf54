// Modal message boxes on SDL: plain OK boxes (also the demo core's platform message box, owned by
// the demo window when one exists) and Yes/No questions.
#include <SDL_syswm.h>
#include "resources/Messages.h"
#include "shell/Platform.h"
#include "shell/Shell.h"

namespace {
Uint32 iconFlags(BoxIcon icon)
{
    switch (icon) {
    case BoxIcon::Information: return SDL_MESSAGEBOX_INFORMATION;
    case BoxIcon::Warning: return SDL_MESSAGEBOX_WARNING;
    case BoxIcon::Error: return SDL_MESSAGEBOX_ERROR;
    }
    return SDL_MESSAGEBOX_INFORMATION;
}

// SDL shows an X11 box from a short-lived child process; under load that child now and then fails
// (the box never appears). A few tries with a short pause, as a user would wait for it.
template <class Show>
bool showWithRetries(Show show)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (attempt > 0) SDL_Delay(100);
        if (show() == 0) return true;
    }
    return false;
}

// A box that could not be shown at all (no display, no fonts) is never silent: its caption, its
// text and the answer the program goes on with are printed instead.
void reportUnshown(const char* caption, const char* text, const char* answer)
{
    printMessage("Message box could not be shown: %s: %s (answer taken: %s)\n", caption, text, answer);
}

// SDL's X11 box reads its owner's X11 data without checking that the window has any; only a
// window that SDL can describe as a window-system window is given as the owner.
SDL_Window* boxOwner(SDL_Window* window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    return window && SDL_GetWindowWMInfo(window, &info) ? window : nullptr;
}

void showBox(const char* text, const char* caption, BoxIcon icon, SDL_Window* owner)
{
    if (!showWithRetries([&] { return SDL_ShowSimpleMessageBox(iconFlags(icon), caption, text, owner); }))
        reportUnshown(caption, text, "OK");
}
} // namespace

void showShellMessage(const char* text, const char* caption, BoxIcon icon)
{
    showBox(text, caption, icon, nullptr);
}

void showMessageBox(const char* text, const char* caption)
{
    showBox(text, caption, BoxIcon::Warning, boxOwner(g_window));
}

bool askYesNo(const char* text, const char* caption, BoxIcon icon, bool unanswered)
{
    enum { kYes = 1, kNo = 0 };
    const SDL_MessageBoxButtonData buttons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, kYes, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, kNo, "No"},
    };
    const SDL_MessageBoxData box = {
        iconFlags(icon) | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT, nullptr, caption, text, 2, buttons, nullptr};
    int choice = -1;
    if (!showWithRetries([&] { return SDL_ShowMessageBox(&box, &choice); })) {
        reportUnshown(caption, text, unanswered ? "Yes" : "No");
        return unanswered;
    }
    return choice < 0 ? unanswered : choice == kYes;
}
