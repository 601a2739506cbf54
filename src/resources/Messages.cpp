// Messages on standard output.
#include "resources/Messages.h"
#include <cstdarg>
#include <cstdio>

void printMessage(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
}

void flushMessages()
{
    std::fflush(stdout);
}
