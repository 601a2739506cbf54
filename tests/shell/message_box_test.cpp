// With no display at all a message box cannot be shown and is never silent: its caption, its text
// and the answer the program goes on with are printed. A driver that draws into memory (SDL's
// fallback when no display can be opened) is refused with the video failure's message instead of a
// demo running unseen.
#include <gtest/gtest.h>
#include <cstdlib>
#include <string>
#include "shell/Shell.h"
#include "support/CaptureMessages.h"

TEST(MessageBox, UnshownBoxesPrintCaptionTextAndTheAnswerTakenAndAWindowlessDriverIsRefused)
{
    const std::string display = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    for (const bool unanswered : {true, false}) {
        bool answer = !unanswered;
        EXPECT_EQ(capturedMessages([&] { answer = askYesNo("Run?", "Question", BoxIcon::Information, unanswered); }),
                  std::string("Message box could not be shown: Question: Run? (answer taken: ") +
                      (unanswered ? "Yes" : "No") + ")\n");
        EXPECT_EQ(answer, unanswered);
    }
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    bool created = true;
    EXPECT_EQ(capturedMessages([&] { created = createWindow(); }),
              "Message box could not be shown: ERROR: Failed to register window class. (answer taken: OK)\n");
    EXPECT_FALSE(created);
    EXPECT_EQ(g_window, nullptr);
    unsetenv("SDL_VIDEODRIVER");
    if (!display.empty()) setenv("DISPLAY", display.c_str(), 1);
}
