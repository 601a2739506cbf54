// Frame pacing where the driver does not wait for the display. With vsync the buffer swap waits for
// the display's refresh and the pacer does nothing. A driver that swaps at once whatever interval
// was asked for (Mesa's software GL under a virtual X server, some remote desktops) would have the
// loop draw hundreds of frames a second, taking the cores the music's mixer needs (the sound then
// runs dry and the music clock holds). There the loop sleeps after each swap until the display's
// next refresh (60 Hz when the display does not say).
#pragma once
#include <SDL.h>

// Whether the window's context swaps on the display's refresh, and that refresh rate, read after
// the swap interval was asked for. Every new window calls it.
void startFramePacing(SDL_Window* window);
// After a swap: waits until the next refresh when the driver did not.
void paceFrame();

// When the frame after one that ended at `now` (milliseconds) is due: a refresh `period` after the
// last deadline, or a period from now when the loop has fallen more than a frame behind (or has no
// deadline yet, 0), so a slow stretch is not followed by a burst of frames.
double nextFrameDeadline(double deadline, double now, double period);
