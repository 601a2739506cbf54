// Stop handling through fixed tables that the handler reads without locks: children as atomic
// process ids, files as paths in fixed buffers guarded by an atomic state per slot. A slot's path is
// written only while the slot is claimed and not yet visible to the handler, so the handler never
// reads a path being written; a stop marks every slot it has looked at, so no file is created in a
// slot after the handler has passed it.
#include "render/StopSignals.h"
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int kChildren = 160; // 64 jobs, their encoders and probes, with room to spare
constexpr int kFiles = 160;    // a job's parts, temporary names, lists

struct ChildSlot {
    std::atomic<pid_t> pid{0};
    std::atomic<int> signal{0};
};
ChildSlot g_children[kChildren];

enum SlotState : int { Free, Writing, Creating, Active, Stopped };
struct FileSlot {
    std::atomic<int> state{Free};
    char path[PATH_MAX];
};
FileSlot g_files[kFiles];

std::atomic<int> g_stopping{0};
std::atomic<bool> g_hangupIgnored{false};
bool g_announce = false;
pid_t g_mainThread = 0;

static_assert(std::atomic<pid_t>::is_always_lock_free && std::atomic<int>::is_always_lock_free,
              "the handler reads the tables without locks");

pid_t threadId()
{
    return static_cast<pid_t>(::syscall(SYS_gettid));
}

void sleepMs(long milliseconds)
{
    timespec wait{0, milliseconds * 1000000L};
    while (::nanosleep(&wait, &wait) != 0 && errno == EINTR) {}
}

bool reaped(pid_t pid)
{
    const pid_t r = ::waitpid(pid, nullptr, WNOHANG);
    return r == pid || (r < 0 && errno == ECHILD);
}

// Asks every child to stop, gives them 0.6 s, then kills and reaps what is left.
void stopChildren()
{
    for (ChildSlot& c : g_children)
        if (const pid_t pid = c.pid.load()) ::kill(pid, c.signal.load() ? c.signal.load() : SIGKILL);
    for (int waited = 0; waited < 600; waited += 10) {
        bool alive = false;
        for (ChildSlot& c : g_children)
            if (const pid_t pid = c.pid.load()) {
                if (reaped(pid))
                    c.pid.store(0);
                else
                    alive = true;
            }
        if (!alive) return;
        sleepMs(10);
    }
    for (ChildSlot& c : g_children)
        if (const pid_t pid = c.pid.exchange(0)) {
            ::kill(pid, SIGKILL);
            while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {}
        }
}

// Marks every file slot stopped and removes the files of those in use, waiting briefly for a file
// being created.
void removeFiles()
{
    for (FileSlot& f : g_files) {
        for (int waited = 0;; ++waited) {
            int state = f.state.load();
            if (state == Creating && waited < 100) {
                sleepMs(1);
                continue;
            }
            if (f.state.compare_exchange_strong(state, Stopped)) {
                if (state == Active || state == Creating) ::unlink(f.path);
                break;
            }
        }
    }
}

void writeError(const char* text)
{
    const ssize_t ignored = ::write(STDERR_FILENO, text, std::strlen(text));
    (void)ignored;
}

void onStop(int signal)
{
    const int savedErrno = errno;
    if (threadId() != g_mainThread) {
        // The main thread does the work, so none of its own code runs meanwhile.
        if (!g_stopping.load()) ::syscall(SYS_tgkill, ::getpid(), g_mainThread, signal);
        errno = savedErrno;
        return;
    }
    if (g_stopping.exchange(1) != 0) {
        errno = savedErrno;
        return;
    }
    stopChildren();
    removeFiles();
    if (g_announce) writeError("\nzemblar-render: stopped by a signal; the unfinished output of this run is removed\n");
    for (int s : kSignals) {
        if (s == SIGHUP && g_hangupIgnored.load()) continue;
        struct sigaction action {};
        action.sa_handler = SIG_DFL;
        ::sigaction(s, &action, nullptr);
    }
    ::raise(signal); // blocked in here: delivered, with the default action, when the handler returns
    errno = savedErrno;
}
} // namespace

void installStopHandlers(bool announce)
{
    g_announce = announce;
    g_mainThread = threadId();
    struct sigaction previous {};
    ::sigaction(SIGHUP, nullptr, &previous);
    g_hangupIgnored.store(previous.sa_handler == SIG_IGN);
    struct sigaction action {};
    action.sa_handler = onStop;
    sigemptyset(&action.sa_mask);
    for (int s : kSignals) sigaddset(&action.sa_mask, s);
    for (int s : kSignals)
        if (!(s == SIGHUP && g_hangupIgnored.load())) ::sigaction(s, &action, nullptr);
}

bool stopping()
{
    return g_stopping.load() != 0;
}

void blockStopSignals(sigset_t& previous)
{
    sigset_t stop;
    sigemptyset(&stop);
    for (int s : kSignals) sigaddset(&stop, s);
    ::pthread_sigmask(SIG_BLOCK, &stop, &previous);
}

void restoreSignalMask(const sigset_t& previous)
{
    ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
}

void resetStopSignalsInChild(const sigset_t& previous)
{
    for (int s : kSignals) {
        struct sigaction action {};
        action.sa_handler = s == SIGHUP && g_hangupIgnored.load() ? SIG_IGN : SIG_DFL;
        ::sigaction(s, &action, nullptr);
    }
    restoreSignalMask(previous);
}

void trackChild(pid_t pid, int signal)
{
    for (ChildSlot& c : g_children) {
        pid_t none = 0;
        if (c.pid.compare_exchange_strong(none, pid)) {
            c.signal.store(signal);
            return;
        }
    }
}

void forgetChild(pid_t pid)
{
    for (ChildSlot& c : g_children) {
        pid_t same = pid;
        if (c.pid.compare_exchange_strong(same, 0)) return;
    }
}

bool RemoveOnStop::mark(const std::string& path, bool creating)
{
    release();
    if (g_stopping.load()) return false;
    for (int i = 0; i < kFiles; ++i) {
        int state = Free;
        if (!g_files[i].state.compare_exchange_strong(state, Writing)) continue;
        if (path.size() >= sizeof g_files[i].path) { // cannot be held: made without the guard
            g_files[i].state.store(Free);
            return true;
        }
        std::memcpy(g_files[i].path, path.c_str(), path.size() + 1);
        state = Writing;
        if (!g_files[i].state.compare_exchange_strong(state, creating ? Creating : Active)) return false;
        slot_ = i;
        return true;
    }
    return g_stopping.load() == 0; // every slot taken: made without the guard
}

void RemoveOnStop::made()
{
    if (slot_ < 0) return;
    int state = Creating;
    g_files[slot_].state.compare_exchange_strong(state, Active);
}

void RemoveOnStop::release()
{
    if (slot_ < 0) return;
    int state = Active;
    if (!g_files[slot_].state.compare_exchange_strong(state, Free)) {
        state = Creating;
        g_files[slot_].state.compare_exchange_strong(state, Free);
    }
    slot_ = -1;
}
