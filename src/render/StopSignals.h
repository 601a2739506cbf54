// What a renderer process undoes when SIGINT, SIGTERM or SIGHUP stops it (Ctrl-C in a terminal, a
// kill, a closed terminal): every child it started (its jobs, ffmpeg, ffprobe) is stopped and
// reaped, and the files it was making are removed, before the process ends by that signal. The
// handler runs on the thread that installed it (another thread that takes a signal passes it on)
// and does only async-signal-safe things. A hang-up ignored when the process started (nohup) stays
// ignored. POSIX (Linux) only.
#pragma once
#include <csignal>
#include <string>
#include <sys/types.h>

// Installs the handlers on the calling (main) thread, before it starts other threads.
// `announce`: one line on standard error says why the process stopped (the top process; jobs
// stay quiet).
void installStopHandlers(bool announce);

// True once a stop signal is being handled: what fails from now on (a write to a killed encoder)
// is the stop, not an error to report.
bool stopping();

// Around fork: the parent blocks the stop signals until the child is tracked (so a stop cannot
// miss it) and then restores `previous`; the child gives them back their default action (a hang-up
// ignored at the start stays ignored) and restores `previous` before it runs another program.
void blockStopSignals(sigset_t& previous);
void restoreSignalMask(const sigset_t& previous);
void resetStopSignalsInChild(const sigset_t& previous);

// A child to stop with `signal` when a stop comes: SIGTERM for a process that cleans up after
// itself (a job), SIGKILL for one whose output is thrown away (ffmpeg). One still there after
// 0.6 s is killed. Forget a child once it has ended, before it is reaped.
void trackChild(pid_t pid, int signal);
void forgetChild(pid_t pid);

// A file this process makes or has a child make, removed when a stop comes before it is released.
class RemoveOnStop {
public:
    RemoveOnStop() = default;
    ~RemoveOnStop() { release(); }
    RemoveOnStop(const RemoveOnStop&) = delete;
    RemoveOnStop& operator=(const RemoveOnStop&) = delete;

    // Marks `path`. False when the process is stopping: then the file must not be made. With
    // `creating`, a stop waits (up to 0.1 s) for made() before it removes the file, so a file being
    // created at that moment is not missed.
    bool mark(const std::string& path, bool creating = false);
    void made();
    // The file stays from now on (it is complete, or someone else removes it).
    void release();

private:
    int slot_ = -1;
};
