// The sound server's latency report, through PulseAudio's client library loaded with dlopen (see
// ServerLatency.h). One pa_mainloop runs on the thread: connect, then every interval one request
// for the sink inputs, whose reply is filtered by this process's id. Nothing here blocks the caller
// beyond connecting (a local socket) and joining the thread on stop.
#include "shell/ServerLatency.h"

#if defined(__linux__) && __has_include(<pulse/pulseaudio.h>)
#include <dlfcn.h>
#include <pulse/pulseaudio.h>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>

namespace {
// The client library's entry points, looked up once; `loaded` false when it is not there.
struct PulseLibrary {
    bool loaded = false;
    decltype(&pa_mainloop_new) mainloopNew = nullptr;
    decltype(&pa_mainloop_get_api) mainloopGetApi = nullptr;
    decltype(&pa_mainloop_prepare) mainloopPrepare = nullptr;
    decltype(&pa_mainloop_poll) mainloopPoll = nullptr;
    decltype(&pa_mainloop_dispatch) mainloopDispatch = nullptr;
    decltype(&pa_mainloop_wakeup) mainloopWakeup = nullptr;
    decltype(&pa_mainloop_free) mainloopFree = nullptr;
    decltype(&pa_context_new) contextNew = nullptr;
    decltype(&pa_context_connect) contextConnect = nullptr;
    decltype(&pa_context_get_state) contextGetState = nullptr;
    decltype(&pa_context_disconnect) contextDisconnect = nullptr;
    decltype(&pa_context_unref) contextUnref = nullptr;
    decltype(&pa_context_get_sink_input_info_list) sinkInputInfoList = nullptr;
    decltype(&pa_operation_unref) operationUnref = nullptr;
    decltype(&pa_proplist_gets) proplistGets = nullptr;

    PulseLibrary()
    {
        // Kept loaded for the rest of the process: SDL loads the same library for its own driver.
        void* library = dlopen("libpulse.so.0", RTLD_NOW | RTLD_LOCAL);
        if (!library) return;
        loaded =
            find(library, mainloopNew, "pa_mainloop_new") && find(library, mainloopGetApi, "pa_mainloop_get_api") &&
            find(library, mainloopPrepare, "pa_mainloop_prepare") && find(library, mainloopPoll, "pa_mainloop_poll") &&
            find(library, mainloopDispatch, "pa_mainloop_dispatch") &&
            find(library, mainloopWakeup, "pa_mainloop_wakeup") && find(library, mainloopFree, "pa_mainloop_free") &&
            find(library, contextNew, "pa_context_new") && find(library, contextConnect, "pa_context_connect") &&
            find(library, contextGetState, "pa_context_get_state") &&
            find(library, contextDisconnect, "pa_context_disconnect") &&
            find(library, contextUnref, "pa_context_unref") &&
            find(library, sinkInputInfoList, "pa_context_get_sink_input_info_list") &&
            find(library, operationUnref, "pa_operation_unref") && find(library, proplistGets, "pa_proplist_gets");
    }

    template <typename F>
    static bool find(void* library, F& entry, const char* name)
    {
        entry = reinterpret_cast<F>(dlsym(library, name));
        return entry != nullptr;
    }
};

const PulseLibrary& pulse()
{
    static const PulseLibrary library;
    return library;
}

bool connected(pa_context_state_t state)
{
    return state == PA_CONTEXT_READY;
}

bool gone(pa_context_state_t state)
{
    return state == PA_CONTEXT_FAILED || state == PA_CONTEXT_TERMINATED;
}
} // namespace

struct ServerLatency::Session {
    const PulseLibrary& pa = pulse();
    pa_mainloop* loop = nullptr;
    pa_context* context = nullptr;
    Reading reading;
    std::string processId = std::to_string(getpid());
    std::atomic<bool> stopping{false};
    bool pending = false; // a request is out
    bool taken = false;   // a stream of this process was read in the current reply
    int readings = 0;
    std::thread thread;

    ~Session()
    {
        if (context) {
            pa.contextDisconnect(context);
            pa.contextUnref(context);
        }
        if (loop) pa.mainloopFree(loop);
    }

    // Connects, waiting up to a second for the server to answer (a local socket answers at once).
    bool connect()
    {
        loop = pa.mainloopNew();
        if (!loop) return false;
        context = pa.contextNew(pa.mainloopGetApi(loop), "zemblar latency");
        if (!context || pa.contextConnect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) return false;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        while (std::chrono::steady_clock::now() < deadline) {
            const pa_context_state_t state = pa.contextGetState(context);
            if (connected(state)) return true;
            if (gone(state)) return false;
            iterate(10000);
        }
        return false;
    }

    void iterate(int timeoutUs)
    {
        if (pa.mainloopPrepare(loop, timeoutUs) < 0) return;
        pa.mainloopPoll(loop);
        pa.mainloopDispatch(loop);
    }

    static void onSinkInput(pa_context*, const pa_sink_input_info* info, int last, void* data)
    {
        Session& s = *static_cast<Session*>(data);
        if (last) {
            s.pending = false;
            s.taken = false;
            return;
        }
        if (!info || s.taken || info->corked) return;
        const char* owner = s.pa.proplistGets(info->proplist, "application.process.id");
        if (!owner || s.processId != owner) return;
        s.taken = true;
        ++s.readings;
        s.reading(static_cast<double>(info->buffer_usec + info->sink_usec) / 1e6);
    }

    void run()
    {
        auto next = std::chrono::steady_clock::now();
        while (!stopping && connected(pa.contextGetState(context))) {
            const auto now = std::chrono::steady_clock::now();
            if (!pending && now >= next) {
                if (pa_operation* request = pa.sinkInputInfoList(context, onSinkInput, this)) {
                    pending = true;
                    pa.operationUnref(request);
                }
                next = now + std::chrono::milliseconds(readings < kQuickReadings ? kQuickIntervalMs : kIntervalMs);
            }
            // Until the next request is due or the reply comes, whichever is first.
            const auto wait = std::chrono::duration_cast<std::chrono::microseconds>(next - now).count();
            iterate(static_cast<int>(std::max<long long>(1000, std::min<long long>(wait, kIntervalMs * 1000))));
        }
    }
};

ServerLatency::ServerLatency() = default;

ServerLatency::~ServerLatency()
{
    stop();
}

bool ServerLatency::start(Reading reading)
{
    stop();
    if (!pulse().loaded) return false;
    auto session = std::make_unique<Session>();
    session->reading = std::move(reading);
    if (!session->connect()) return false;
    Session* s = session.get();
    s->thread = std::thread([s] { s->run(); });
    session_ = std::move(session);
    return true;
}

void ServerLatency::stop()
{
    if (!session_) return;
    session_->stopping = true;
    session_->pa.mainloopWakeup(session_->loop);
    if (session_->thread.joinable()) session_->thread.join();
    session_.reset();
}

#else // no PulseAudio client headers here: the server is never asked

struct ServerLatency::Session {};
ServerLatency::ServerLatency() = default;
ServerLatency::~ServerLatency() = default;
bool ServerLatency::start(Reading)
{
    return false;
}
void ServerLatency::stop() {}

#endif
