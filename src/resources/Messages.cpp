// Messages on standard output, or appended to a string while a capture runs (formatted with
// vsnprintf, so the capture needs no POSIX memory stream and builds for Windows too).
#include "resources/Messages.h"
#include <cstdarg>
#include <vector>

namespace {
bool g_capturing = false;
std::string g_captured;

void appendFormatted(const char* format, va_list args)
{
    va_list again;
    va_copy(again, args);
    char small[512];
    const int length = std::vsnprintf(small, sizeof small, format, args);
    if (length < 0) {
        va_end(again);
        return;
    }
    if (static_cast<size_t>(length) < sizeof small) {
        g_captured.append(small, static_cast<size_t>(length));
    } else {
        std::vector<char> large(static_cast<size_t>(length) + 1);
        std::vsnprintf(large.data(), large.size(), format, again);
        g_captured.append(large.data(), static_cast<size_t>(length));
    }
    va_end(again);
}
} // namespace

void printMessage(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    if (g_capturing)
        appendFormatted(format, args);
    else
        std::vfprintf(stdout, format, args);
    va_end(args);
}

void flushMessages()
{
    if (!g_capturing) std::fflush(stdout);
}

void startMessageCapture()
{
    if (g_capturing) return;
    std::fflush(stdout);
    g_captured.clear();
    g_capturing = true;
}

std::string endMessageCapture()
{
    if (!g_capturing) return std::string();
    g_capturing = false;
    std::string text;
    text.swap(g_captured);
    return text;
}

size_t capturedLength()
{
    return g_capturing ? g_captured.size() : 0;
}

std::string capturedFrom(size_t offset)
{
    if (!g_capturing || offset >= g_captured.size()) return std::string();
    return g_captured.substr(offset);
}
