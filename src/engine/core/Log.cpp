#include "core/Log.h"

#include <cstdarg>
#include <cstdio>

namespace Strata
{

namespace
{
// The calling thread's innermost capture, or null when its lines are written.
thread_local std::string* tCapture = nullptr;
} // namespace

void Log(const char* text)
{
    if (!text)
        return;
    if (tCapture != nullptr)
        tCapture->append(text);
    else
        std::fputs(text, stderr);
}

namespace Internal
{

ScopedLogCapture::ScopedLogCapture(std::string& text) : mPrevious(tCapture)
{
    tCapture = &text;
}

ScopedLogCapture::~ScopedLogCapture()
{
    tCapture = mPrevious;
}

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
