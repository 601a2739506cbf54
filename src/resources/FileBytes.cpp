// Whole-file reading through POSIX descriptors (the C runtime's on Windows): the kind and size of the
// file are known from stat before anything is read or allocated.
#include "resources/FileBytes.h"
#include <cerrno>
#include <fcntl.h>
#include <new>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace {
#ifdef _WIN32
// Windows (the party release) has no FIFOs or terminals to guard against, and its C runtime opens
// in text mode unless told otherwise, which would turn CR LF into LF inside a PNG.
constexpr int kOpenFlags = O_RDONLY | O_BINARY;
#else
constexpr int kOpenFlags = O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
#endif

bool regularWithin(const struct stat& info, uint64_t maxBytes)
{
    return S_ISREG(info.st_mode) && info.st_size >= 0 && static_cast<uint64_t>(info.st_size) <= maxBytes;
}

// A descriptor of the file, or -1. The path is looked at before it is opened, so no device is opened
// (opening some has effects of its own); O_NONBLOCK keeps the open of a FIFO put in its place
// meanwhile from waiting for a writer, and the second look refuses it.
int openRegular(const std::string& path, uint64_t maxBytes, uint64_t& size)
{
    struct stat info;
    if (::stat(path.c_str(), &info) != 0 || !regularWithin(info, maxBytes)) return -1;
    const int fd = ::open(path.c_str(), kOpenFlags);
    if (fd < 0) return -1;
    if (::fstat(fd, &info) != 0 || !regularWithin(info, maxBytes)) {
        ::close(fd);
        return -1;
    }
    size = static_cast<uint64_t>(info.st_size);
    return fd;
}

bool readAll(int fd, std::vector<uint8_t>& out, uint64_t size)
{
    try {
        out.resize(static_cast<size_t>(size));
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    size_t got = 0;
    while (got < out.size()) {
        const ssize_t n = ::read(fd, out.data() + got, out.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) break; // shrunk since the open
        got += static_cast<size_t>(n);
    }
    out.resize(got);
    return true;
}
} // namespace

bool fileReadable(const std::string& path, uint64_t maxBytes)
{
    uint64_t size = 0;
    const int fd = openRegular(path, maxBytes, size);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

bool readWholeFile(const std::string& path, std::vector<uint8_t>& out, uint64_t maxBytes)
{
    uint64_t size = 0;
    const int fd = openRegular(path, maxBytes, size);
    if (fd < 0) return false;
    const bool read = readAll(fd, out, size);
    ::close(fd);
    return read;
}
