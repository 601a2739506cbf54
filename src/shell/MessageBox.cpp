// Modal message boxes on SDL: plain OK boxes (also the demo core's platform message box, owned by
// the demo window when one exists) and Yes/No questions.
#include <cstdio>
#include "demo/Platform.h"
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

void showBox(const char* text, const char* caption, BoxIcon icon, SDL_Window* owner)
{
    // One more try after a short pause: the X server may refuse a box for a moment under load.
    if (SDL_ShowSimpleMessageBox(iconFlags(icon), caption, text, owner) == 0) return;
    SDL_Delay(100);
    if (SDL_ShowSimpleMessageBox(iconFlags(icon), caption, text, owner) != 0)
        std::printf("%s: %s\n", caption, text); // no display to show it on: keep the text visible
}
} // namespace

void showShellMessage(const char* text, const char* caption, BoxIcon icon)
{
    showBox(text, caption, icon, nullptr);
}

void showMessageBox(const char* text, const char* caption)
{
    showBox(text, caption, BoxIcon::Warning, g_window);
}

bool askYesNo(const char* text, const char* caption, BoxIcon icon, bool* answered)
{
    enum { kYes = 1, kNo = 0 };
    const SDL_MessageBoxButtonData buttons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, kYes, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, kNo, "No"},
    };
    const SDL_MessageBoxData box = {iconFlags(icon) | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT, nullptr,
                                    caption, text, 2, buttons, nullptr};
    int choice = -1;
    bool shown = SDL_ShowMessageBox(&box, &choice) == 0;
    if (!shown) {
        SDL_Delay(100);
        shown = SDL_ShowMessageBox(&box, &choice) == 0;
    }
    if (answered) *answered = shown && choice >= 0;
    return shown && choice == kYes;
}
