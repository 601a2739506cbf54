// Platform services the demo core needs, declared here and implemented by the shell (src/shell):
// the 32-bit millisecond clock, modal message boxes, and a small music player modelled on what the
// demo asks of it (one stream from an MP3 file, its play position in seconds and its state).
// Nothing here exposes the windowing or audio library behind it.
#pragma once
#include <cstdint>
#include <string>

// Milliseconds since an arbitrary start, as an unsigned 32-bit count that wraps after ~49.7 days.
// Callers subtract two readings in unsigned 32-bit arithmetic, which stays right across a wrap.
uint32_t getTicks32();
// Milliseconds since an arbitrary start at the platform's finest resolution, never decreasing.
double preciseMilliseconds();

// A modal message box with one OK button (owned by the demo window when one exists).
void showMessageBox(const char* text, const char* caption);

// Music stream states, numbered as the demo's frame driver reads them.
enum AudioState : int { AudioStopped = 0, AudioPlaying = 1, AudioStalled = 2, AudioPaused = 3 };

// Opens the default output device at the given rate. False when no device could be opened.
bool audioInit(int rate);
// Loads an MP3 (or other music) file as the one stream. Returns its handle, or 0 when it cannot be
// opened or audioInit has not succeeded. Opening a new stream releases the previous one.
uint32_t audioStreamCreateFile(const char* path);
// Plays the stream from its start. False for an unknown handle or when playback cannot start.
bool audioChannelPlay(uint32_t stream);
// The music being heard, in seconds: the decoder's position less audioOutputLatency(), never below
// 0; 0 for an unknown handle.
double audioChannelPosition(uint32_t stream);
// Seconds from the decoder to the ear: the sound server's reported latency for the stream when it
// reports one (PulseAudio, PipeWire), else the mixer's buffer; 0 while no device is open.
double audioOutputLatency();
// AudioStopped for an unknown handle and after the track has ended.
int audioChannelIsActive(uint32_t stream);
// Services the player's buffers (the mixer runs on its own thread; this keeps the call site).
void audioUpdate();
// Stops and frees the stream and closes the device. Safe to call at any time, also twice.
void audioFree();

// Moves the playing (or paused) stream's decoder to a position in seconds: it is heard
// audioOutputLatency() later. False for an unknown handle or when the decoder cannot seek.
bool audioSetPosition(uint32_t stream, double seconds);
// Pauses or resumes the stream; nothing for an unknown handle.
void audioPause(uint32_t stream, bool paused);

// Whether the music player can open the file as music (decoding starts); false with the player's
// reason in `why`. Without an open output device it uses a silent one and closes it again.
bool audioFilePlays(const char* path, std::string& why);
