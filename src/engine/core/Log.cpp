#include "core/Log.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace Strata
{

namespace
{
// The calling thread's innermost capture, or null when its lines are written.
thread_local std::string* tCapture = nullptr;
std::atomic<bool> gDetail{false};

__attribute__((format(printf, 1, 0))) void WriteFormatted(const char* format, va_list args)
{
    if (!format)
        return;
    char buffer[1024];
    // vsnprintf never writes past the buffer: a longer line is cut and still terminated.
    const int written = std::vsnprintf(buffer, sizeof(buffer), format, args);
    if (written <= 0)
        return;
    Log(buffer);
}
} // namespace

void SetLogDetail(bool on)
{
    gDetail.store(on, std::memory_order_relaxed);
}

bool IsLogDetailOn()
{
    return gDetail.load(std::memory_order_relaxed);
}

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
    va_list args;
    va_start(args, format);
    WriteFormatted(format, args);
    va_end(args);
}

void LogDetail(const char* format, ...)
{
    if (!IsLogDetailOn())
        return;
    va_list args;
    va_start(args, format);
    WriteFormatted(format, args);
    va_end(args);
}

} // namespace Internal
} // namespace Strata
