// Asks the sound server how late this process's sound is heard. PulseAudio, and PipeWire through
// its PulseAudio server, report for every playback stream the data its sink input holds and the
// latency of the sink it plays on; their sum is the time from the sink input taking a sample to it
// being heard (the stream's own queue before the sink input is not in it: see OutputLatency.h).
// A thread of its own asks every kIntervalMs (the first kQuickReadings times every
// kQuickIntervalMs, so a caller waiting for a few readings at start waits little) for the streams
// of this process and hands each reading (seconds) to the callback, on that thread.
// The client library is loaded at run time (libpulse.so.0) only when asked to start, so the player
// starts without it and plays through any other driver; where it is missing, where no server
// answers, and on systems without it, start() returns false and there are no readings.
#pragma once
#include <functional>
#include <memory>

class ServerLatency {
public:
    using Reading = std::function<void(double seconds)>;
    static constexpr int kIntervalMs = 25;
    static constexpr int kQuickIntervalMs = 5;
    static constexpr int kQuickReadings = 8;

    ServerLatency();
    ~ServerLatency(); // stops
    ServerLatency(const ServerLatency&) = delete;
    ServerLatency& operator=(const ServerLatency&) = delete;

    // Connects and starts asking. False when the library or the server cannot be reached.
    bool start(Reading reading);
    // Stops asking and disconnects; waits for the thread. Safe when not started.
    void stop();

    struct Session;

private:
    std::unique_ptr<Session> session_;
};
