// Messages on standard output, appended to a string while a capture runs, or kept one by one while a
// collection runs. Each message is formatted first (vsnprintf, so the capture needs no POSIX memory
// stream and builds for Windows too) and then written in one piece, so where standard output is
// unbuffered (Windows) a line still goes out in one write, not character by character.
#include "resources/Messages.h"
#include <cstdarg>

namespace {
bool g_capturing = false;
std::string g_captured;
bool g_collecting = false;
std::vector<std::string> g_collected;

void emit(const char* text, size_t length)
{
    if (g_collecting)
        g_collected.emplace_back(text, length);
    else if (g_capturing)
        g_captured.append(text, length);
    else
        std::fwrite(text, 1, length, stdout);
}
} // namespace

void printMessage(const char* format, ...)
{
    va_list args, again;
    va_start(args, format);
    va_copy(again, args);
    char small[512]; // most messages: no allocation on the way out
    const int length = std::vsnprintf(small, sizeof small, format, args);
    if (length >= 0 && static_cast<size_t>(length) < sizeof small) {
        emit(small, static_cast<size_t>(length));
    } else if (length > 0) {
        std::string large(static_cast<size_t>(length) + 1, '\0');
        std::vsnprintf(large.data(), large.size(), format, again);
        emit(large.data(), static_cast<size_t>(length));
    }
    va_end(again);
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

void startMessageCollection()
{
    g_collecting = true;
}

std::vector<std::string> endMessageCollection()
{
    g_collecting = false;
    std::vector<std::string> messages;
    messages.swap(g_collected);
    return messages;
}
