// The timeline strip under the pointer: a synthetic click in the strip seeks the edit session to
// the time under it, a drag scrubs (once a frame, the view standing still under the pointer), and a
// click above the strip leaves the time alone.
#include <gtest/gtest.h>
#include "shell/TimelineStrip.h"
#include "support/CaptureMessages.h"
#include "support/GlFixture.h"
#include "support/TempDir.h"

using TimelineStripGl = GlTest;

namespace {
SDL_Event mouse(Uint32 type, int x, int y)
{
    SDL_Event event{};
    event.type = type;
    if (type == SDL_MOUSEMOTION) {
        event.motion.x = x, event.motion.y = y, event.motion.state = SDL_BUTTON_LMASK;
    } else {
        event.button.x = x, event.button.y = y, event.button.button = SDL_BUTTON_LEFT;
    }
    return event;
}
} // namespace

TEST_F(TimelineStripGl, AClickSeeksToTheTimeUnderThePointerAndADragScrubs)
{
    ScopedWorkDir dir;
    dir.write("data/vessikscript.txt", "-1 a new demoeffect\n5 a setpoint 1 2 3\n");
    EditSession session;
    EditPlayer player(session); // paused
    TimelineStrip strip;
    player.seek(10.0);
    strip.update(player); // 16 s across the 1280 x 720 window, 2 to 18 s
    const int bottom = kWindowHeight - 5;
    EXPECT_TRUE(strip.handle(mouse(SDL_MOUSEBUTTONDOWN, 960, bottom), player));
    EXPECT_DOUBLE_EQ(session.time(), 14.0);
    EXPECT_TRUE(strip.handle(mouse(SDL_MOUSEMOTION, 320, bottom - 200), player)); // dragged out of the strip
    EXPECT_TRUE(strip.handle(mouse(SDL_MOUSEMOTION, 160, bottom), player));
    EXPECT_DOUBLE_EQ(session.time(), 14.0); // sought once a frame
    strip.update(player);
    EXPECT_DOUBLE_EQ(session.time(), 4.0);
    EXPECT_TRUE(strip.handle(mouse(SDL_MOUSEMOTION, 640, bottom), player));
    strip.update(player);
    EXPECT_DOUBLE_EQ(session.time(), 10.0); // the view did not follow while dragging
    EXPECT_TRUE(strip.handle(mouse(SDL_MOUSEBUTTONUP, 1280, bottom), player));
    EXPECT_DOUBLE_EQ(session.time(), 18.0);
    strip.update(player); // 10 to 26 s
    EXPECT_FALSE(strip.handle(mouse(SDL_MOUSEBUTTONDOWN, 0, kWindowHeight - 1 - static_cast<int>(TimelineStrip::kHeight)), player));
    EXPECT_DOUBLE_EQ(session.time(), 18.0);
    EXPECT_TRUE(strip.handle(mouse(SDL_MOUSEBUTTONDOWN, 0, kWindowHeight - static_cast<int>(TimelineStrip::kHeight)), player));
    EXPECT_DOUBLE_EQ(session.time(), 10.0);
}
