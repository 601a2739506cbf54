// A message box that cannot be shown (here: no display at all) is never silent: its caption, its
// text and the answer the program goes on with are printed.
#include <gtest/gtest.h>
#include <cstdlib>
#include <string>
#include "shell/Shell.h"
#include "support/CaptureMessages.h"

TEST(MessageBox, UnshownBoxesPrintCaptionTextAndTheAnswerTaken)
{
    const char* display = std::getenv("DISPLAY");
    const std::string saved = display ? display : "";
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    bool answer = false;
    EXPECT_EQ(capturedMessages([&] { answer = askYesNo("Run?", "Question", BoxIcon::Information, true); }),
              "Message box could not be shown: Question: Run? (answer taken: Yes)\n");
    EXPECT_TRUE(answer);
    EXPECT_EQ(capturedMessages([&] { answer = askYesNo("Run?", "Question", BoxIcon::Information, false); }),
              "Message box could not be shown: Question: Run? (answer taken: No)\n");
    EXPECT_FALSE(answer);
    EXPECT_EQ(capturedMessages([] { showShellMessage("Broken.", "ERROR", BoxIcon::Error); }),
              "Message box could not be shown: ERROR: Broken. (answer taken: OK)\n");
    if (display) setenv("DISPLAY", saved.c_str(), 1);
}
