#pragma once

namespace Strata
{

// Writes the text as it stands to the standard error stream.
void Log(const char* text);

namespace Internal
{
// printf-style diagnostics, at most 1,024 bytes a call: longer text is cut, never overflows.
// Empty text or a formatting failure writes nothing.
void LogWrite(const char* format, ...) __attribute__((format(printf, 1, 2)));
} // namespace Internal

} // namespace Strata
