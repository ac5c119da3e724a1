#include "core/Log.h"

#include <cstdarg>
#include <cstdio>

namespace Strata
{

void Log(const char* text)
{
    if (text)
        std::fputs(text, stderr);
}

namespace Internal
{

void LogWrite(const char* format, ...)
{
    if (!format)
        return;
    char buffer[1024];
    va_list args;
    va_start(args, format);
    // vsnprintf never writes past the buffer: a longer line is cut and still terminated.
    const int written = std::vsnprintf(buffer, sizeof(buffer), format, args);
    va_end(args);
    if (written <= 0)
        return;
    Log(buffer);
}

} // namespace Internal
} // namespace Strata
