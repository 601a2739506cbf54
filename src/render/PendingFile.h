// A file made under a temporary name beside its final one (the final name + ".partial") and
// renamed to the final name once complete, so a render that fails or is stopped never leaves a
// truncated file under a final name. The temporary file is removed when the object goes without a
// commit, and by the stop handlers when a signal stops the process.
#pragma once
#include <cstdio>
#include <string>
#include "render/StopSignals.h"

class PendingFile {
public:
    explicit PendingFile(std::string path);
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    const std::string& path() const { return path_; }
    const std::string& temporary() const { return temporary_; }
    // Opens the temporary file for writing. Null (errno set) when it cannot be opened or the process
    // is stopping.
    std::FILE* create();
    // For a temporary file another process writes: marks it for removal. False when the process is
    // stopping (then that process must not be started).
    bool expect();
    // Renames the temporary file to the final name. False (errno set) when that fails.
    bool commit();

private:
    std::string path_, temporary_;
    RemoveOnStop guard_;
    bool started_ = false;
    bool committed_ = false;
};
