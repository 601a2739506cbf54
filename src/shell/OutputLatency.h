// How late the music is heard after the mixer has mixed it, and the music time being heard.
// The mixer mixes one buffer at a time and hands it to the sound device (or sound server), which
// plays what is queued before it first; the mixed end of the music therefore jumps by a buffer at a
// time while the sound drains steadily behind it.
// - Without a report of the device's queue, the latency taken is the mixer's buffer (known from the
//   buffer size SDL opened): the least any driver adds.
// - PulseAudio and PipeWire report, for the stream, the data its sink input holds and the sink's
//   latency, but not the stream's own queue, which takes each buffer as it is handed over and drains
//   it before the next one (SDL asks the server for a one-buffer stream): half a buffer on average.
//   The latency is then that half buffer plus the server's reading. The readings swing as the mixer
//   writes and the sink drains, and a stalling server gives the odd wild one, so the middle (median)
//   of the last kWindow readings is used.
// Pure logic: no SDL, no sound server. Not thread-safe: the caller serialises feeding and reading.
#pragma once
#include <cstddef>
#include "shell/RecentMedian.h"

class OutputLatency {
public:
    // The mixer's buffer in seconds (frames per buffer / frames per second).
    explicit OutputLatency(double bufferSeconds = 0.0) : buffer_(bufferSeconds) {}

    // One reading of the server, in seconds. Readings below 0 or above kMaxSeconds (a server that
    // is stalling or lying) are not taken.
    void addServerReading(double seconds);
    // Seconds from the mixer to the ear: the buffer without readings; half the buffer plus the
    // median of the readings in the window with them.
    double seconds() const;
    size_t readings() const { return window_.count(); }

    static constexpr size_t kWindow = 64;
    static constexpr double kMaxSeconds = 2.0;

private:
    double buffer_;
    RecentMedian<kWindow> window_;
};

// The music time being heard when the mixer has mixed up to `mixed` seconds of the track and sound
// takes `latency` seconds to come out: never before the start of the track.
double heardPosition(double mixed, double latency);
