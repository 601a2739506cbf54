// Frame timing of the live loop: pacing where the driver does not wait for the display, and how far
// ahead of the clock reading a frame is seen.
//
// Pacing: with vsync the buffer swap waits for the display's refresh and the pacer does nothing. A
// driver that swaps at once whatever interval was asked for (Mesa's software GL under a virtual X
// server, some remote desktops) would have the loop draw hundreds of frames a second, taking the
// cores the music's mixer needs (the sound then runs dry and the music clock holds). There the loop
// sleeps after each swap until the display's next refresh (60 Hz when the display does not say).
//
// Look-ahead: a frame reads the music clock, is drawn and swapped, and is then seen for one refresh.
// Read as it stands, an event on a beat shows in the first frame read after the beat: from its swap
// on, up to a refresh late. So the player reads the music at the middle of the refresh the frame is
// seen for: the reading plus the time recent frames took from their reading to their swap, plus half
// a refresh. A flash on a beat is then seen centred on the beat, within half a refresh either way.
#pragma once
#include <SDL.h>
#include <cstddef>
#include "shell/RecentMedian.h"

// Whether the window's context swaps on the display's refresh, and that refresh rate, read after
// the swap interval was asked for. Every new window calls it.
void startFramePacing(SDL_Window* window);
// The frame being made read the music clock at `ms` (the platform's precise milliseconds).
void frameClockRead(double ms);
// After a swap: notes how long the frame took from its clock reading, then waits until the next
// refresh when the driver did not.
void paceFrame();
// Seconds from a frame's clock reading to the middle of the refresh it is seen for.
double frameLookahead();

// When the frame after one that ended at `now` (milliseconds) is due: a refresh `period` after the
// last deadline, or a period from now when the loop has fallen more than a frame behind (or has no
// deadline yet, 0), so a slow stretch is not followed by a burst of frames.
double nextFrameDeadline(double deadline, double now, double period);

// The look-ahead from the last frames' times from clock reading to swap (milliseconds): their
// median over about two seconds (a slow frame, or a few, do not move it, so the music time stays
// smooth), at most one refresh, plus half a refresh.
class FrameLookahead {
public:
    static constexpr size_t kFrames = 121;
    void add(double readToSwapMs) { recent_.add(readToSwapMs); }
    double milliseconds(double periodMs) const;

private:
    RecentMedian<kFrames> recent_;
};
