// The editor's live reload: data/ and its folders watched (FileWatch), and the folder of every file
// the show names outside data/; what settles is handed to the edit session, which reloads the
// files the show names. Events lost by the watch reload everything.
#pragma once
#include <chrono>
#include <cstdint>
#include "demo/EditSession.h"
#include "shell/FileWatch.h"

class LiveReload {
public:
    LiveReload();

    // Takes what has settled since the last call. When something must be reloaded, the session is
    // moved to `t` first. True when the session reloaded (the music is to be put on its time).
    bool apply(EditSession& session, double t);

private:
    void watchNamedFolders(const EditSession& session);

    FileWatch watch_;
    uint32_t calls_ = 0;
};
