// Messages on standard output, or in a memory stream while a capture runs.
#include "resources/Messages.h"
#include <cstdarg>
#include <cstdlib>

namespace {
std::FILE* g_capture = nullptr;
char* g_captureText = nullptr;
size_t g_captureSize = 0;
} // namespace

std::FILE* messageStream()
{
    return g_capture ? g_capture : stdout;
}

void printMessage(const char* format, ...)
{
    va_list args;
    va_start(args, format);
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
