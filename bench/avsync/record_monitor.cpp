// Records a PulseAudio source (the monitor of a null sink) with the time each sample was played.
// Usage: record_monitor SOURCE SECONDS PREFIX
// Writes PREFIX.raw (signed 16-bit mono samples at 44100 Hz, every sample the source delivered) and
// PREFIX.tim, one line per delivered block: "<index of its first sample> <steady clock s> <latency us>".
// The latency is the server's, signed: for a monitor it is the time from the sample's nominal play
// time to its delivery, negative when the sink renders ahead of playing, as a null sink does. So the
// first sample of a block was played at (steady clock - latency), and the sample at index i at
// (that - (i - index) / 44100): the played time of every recorded sample on the steady clock
// (CLOCK_MONOTONIC), the clock the player's frame log uses. Stops after SECONDS or on SIGINT/SIGTERM.
#include <pulse/pulseaudio.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {
constexpr uint32_t kRate = 44100;
volatile std::sig_atomic_t g_stop = 0;

struct Recorder {
    pa_mainloop* loop = nullptr;
    std::FILE* raw = nullptr;
    std::FILE* timing = nullptr;
    const char* source = nullptr;
    long long samples = 0;
    double endAt = 0.0;
};

double steadySeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void onRead(pa_stream* stream, size_t, void* data)
{
    Recorder& r = *static_cast<Recorder*>(data);
    const void* bytes = nullptr;
    size_t length = 0;
    while (pa_stream_peek(stream, &bytes, &length) == 0 && length > 0) {
        pa_usec_t latency = 0;
        int negative = 0;
        // Read before the block is dropped: the latency then belongs to its first sample.
        if (pa_stream_get_latency(stream, &latency, &negative) == 0)
            std::fprintf(r.timing, "%lld %.9f %lld\n", r.samples, steadySeconds(),
                         negative ? -static_cast<long long>(latency) : static_cast<long long>(latency));
        if (bytes) {
            std::fwrite(bytes, 1, length, r.raw);
        } else { // a hole in the stream: silence keeps the sample count right
            const std::vector<char> zeros(length, 0);
            std::fwrite(zeros.data(), 1, length, r.raw);
        }
        r.samples += static_cast<long long>(length / 2);
        pa_stream_drop(stream);
    }
    if (g_stop || steadySeconds() > r.endAt) pa_mainloop_quit(r.loop, 0);
}

void onContextState(pa_context* context, void* data)
{
    Recorder& r = *static_cast<Recorder*>(data);
    const pa_context_state_t state = pa_context_get_state(context);
    if (state == PA_CONTEXT_FAILED || state == PA_CONTEXT_TERMINATED) {
        if (state == PA_CONTEXT_FAILED) std::fprintf(stderr, "record_monitor: the sound server is gone\n");
        pa_mainloop_quit(r.loop, 1);
    }
    if (state != PA_CONTEXT_READY) return;
    const pa_sample_spec format{PA_SAMPLE_S16LE, kRate, 1};
    pa_stream* stream = pa_stream_new(context, "record_monitor", &format, nullptr);
    // Small fragments (5 ms) so the timing of every block is fresh.
    const uint32_t fragment = kRate * 2 * 5 / 1000;
    const pa_buffer_attr attr{static_cast<uint32_t>(-1), static_cast<uint32_t>(-1), static_cast<uint32_t>(-1),
                              static_cast<uint32_t>(-1), fragment};
    pa_stream_set_read_callback(stream, onRead, &r);
    const auto flags = static_cast<pa_stream_flags_t>(PA_STREAM_ADJUST_LATENCY | PA_STREAM_AUTO_TIMING_UPDATE |
                                                      PA_STREAM_INTERPOLATE_TIMING);
    if (pa_stream_connect_record(stream, r.source, &attr, flags) < 0) {
        std::fprintf(stderr, "record_monitor: cannot record %s\n", r.source);
        pa_mainloop_quit(r.loop, 1);
    }
}

void stop(int)
{
    g_stop = 1;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: record_monitor SOURCE SECONDS PREFIX\n");
        return 2;
    }
    Recorder r;
    r.source = argv[1];
    r.endAt = steadySeconds() + std::atof(argv[2]);
    const std::string prefix = argv[3];
    r.raw = std::fopen((prefix + ".raw").c_str(), "wb");
    r.timing = std::fopen((prefix + ".tim").c_str(), "w");
    if (!r.raw || !r.timing) {
        std::fprintf(stderr, "record_monitor: cannot write %s.*\n", prefix.c_str());
        return 1;
    }
    std::signal(SIGINT, stop);
    std::signal(SIGTERM, stop);
    r.loop = pa_mainloop_new();
    pa_context* context = pa_context_new(pa_mainloop_get_api(r.loop), "record_monitor");
    pa_context_set_state_callback(context, onContextState, &r);
    int status = 1;
    if (pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) == 0) pa_mainloop_run(r.loop, &status);
    pa_context_disconnect(context);
    pa_context_unref(context);
    pa_mainloop_free(r.loop);
    std::fclose(r.raw);
    std::fclose(r.timing);
    return status;
}
