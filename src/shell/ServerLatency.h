// Asks the sound server how late this process's sound is heard. PulseAudio, and PipeWire through
// its PulseAudio server, report for every playback stream the data queued for it and the latency of
// the sink it plays on; their sum is the time from the mixer handing a buffer over to it being
// heard. A thread of its own asks every kIntervalMs for the streams of this process and hands each
// reading (seconds) to the callback, on that thread.
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
