// A message box that cannot be shown (here: no display at all) is never silent: its caption, its
// text and the answer the program goes on with are printed.
#include <gtest/gtest.h>
#include <cstdlib>
#include <string>
#include "shell/Shell.h"
#include "support/CaptureMessages.h"

TEST(MessageBox, UnshownBoxesPrintCaptionTextAndTheAnswerTaken)
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
    EXPECT_EQ(capturedMessages([] { showShellMessage("Broken.", "ERROR", BoxIcon::Error); }),
              "Message box could not be shown: ERROR: Broken. (answer taken: OK)\n");
    if (!display.empty()) setenv("DISPLAY", display.c_str(), 1);
}
