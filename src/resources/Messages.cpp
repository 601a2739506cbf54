// Messages on standard output, in a memory stream while a capture runs, or kept one by one while a
// collection runs.
#include "resources/Messages.h"
#include <cstdarg>
#include <cstdlib>

namespace {
std::FILE* g_capture = nullptr;
char* g_captureText = nullptr;
size_t g_captureSize = 0;
bool g_collecting = false;
std::vector<std::string> g_collected;

std::string formatted(const char* format, va_list args)
{
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, again);
    va_end(again);
    if (length <= 0) return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), format, args);
    text.pop_back();
    return text;
}
} // namespace

std::FILE* messageStream()
{
    return g_capture ? g_capture : stdout;
}

void printMessage(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    if (g_collecting)
        g_collected.push_back(formatted(format, args));
    else
        std::vfprintf(messageStream(), format, args);
    va_end(args);
}

void flushMessages()
{
    std::fflush(messageStream());
}

void startMessageCapture()
{
    if (g_capture) return;
    std::fflush(stdout);
    g_capture = ::open_memstream(&g_captureText, &g_captureSize);
}

std::string endMessageCapture()
{
    if (!g_capture) return std::string();
    std::fclose(g_capture);
    g_capture = nullptr;
    std::string text(g_captureText ? g_captureText : "", g_captureSize);
    std::free(g_captureText);
    g_captureText = nullptr;
    g_captureSize = 0;
    return text;
}

size_t capturedLength()
{
    if (!g_capture) return 0;
    std::fflush(g_capture);
    return g_captureSize;
}

std::string capturedFrom(size_t offset)
{
    const size_t length = capturedLength();
    if (!g_captureText || offset >= length) return std::string();
    return std::string(g_captureText + offset, length - offset);
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
