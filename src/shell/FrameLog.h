// The presented-frame log for measuring sound against picture: when the environment variable
// ZEMBLAR_FRAME_LOG names a file, the player writes one line per presented frame into it:
//   <present ns> <clock wall ms> <music time s> <centre brightness 0-255> <output latency ms>
// present ns: the steady clock (CLOCK_MONOTONIC on Linux) just after the buffer swap returned;
// clock wall ms and music time: the reading the music clock took for the frame (its own wall clock);
// brightness: the centre pixel of the frame, read back just before the swap; output latency: what the
// audio layer takes off the decoder's position (audioOutputLatency) at that moment.
// Without the variable nothing is read back or written and the swap is the plain swap.
#pragma once
#include <SDL.h>

// Notes the music clock's reading for the frame being made.
void frameLogClock(double wallMs, double musicTime);
// Swaps the window's buffers, logging the frame when the log is on.
void presentFrame(SDL_Window* window);
