#pragma once

#include <string>

namespace Strata
{

// Writes the text as it stands to the standard error stream.
void Log(const char* text);

// Progress lines (resource files loaded and unloaded, object databases destroyed, loading times) are
// for whoever looks into the engine, not for a player: off by default, so the terminal holds only
// warnings and errors. The program turns them on with its verbose switch; a test that reads them does.
void SetLogDetail(bool on);
bool IsLogDetailOn();

namespace Internal
{
// printf-style diagnostics, at most 1,024 bytes a call: longer text is cut, never overflows.
// Empty text or a formatting failure writes nothing.
void LogWrite(const char* format, ...) __attribute__((format(printf, 1, 2)));
// As LogWrite, for a progress line: nothing while detail logging is off.
void LogDetail(const char* format, ...) __attribute__((format(printf, 1, 2)));

// While it lives, what the calling thread logs (Log and LogWrite) is appended to `text` instead of
// being written; the innermost capture on a thread takes it. For work split across threads whose lines
// must still come out in the order the work had one after the other: Log(text.c_str()) writes them.
// Other threads' lines are not taken. Destroy it on the thread that made it.
class ScopedLogCapture
{
public:
    explicit ScopedLogCapture(std::string& text);
    ~ScopedLogCapture();
    ScopedLogCapture(const ScopedLogCapture&) = delete;
    ScopedLogCapture& operator=(const ScopedLogCapture&) = delete;

private:
    std::string* mPrevious;
};
} // namespace Internal

} // namespace Strata
