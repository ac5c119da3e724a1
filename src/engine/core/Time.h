#pragma once

#include <cstdint>
#include <string>

namespace Strata
{

// Microseconds of the monotonic clock (time since the machine started); never goes backwards.
uint64_t GetTimeUS();

// GetTimeUS() / 1,000 as 32 bits: wraps after about 49.7 days, so compare values by unsigned difference.
uint32_t GetTimeMS();

// The longest gap between the two clicks of a double click, in milliseconds.
uint32_t GetDoubleClickTime();

// Records the program's arguments for GetCommandLine; main calls it first thing. argv[0] is the
// program's name and is left out; the list ends at argc or at the first null entry, whichever comes
// first. A negative argc or a null argv records no arguments. Each argument is read as UTF-8.
void SetCommandLine(int argc, char** argv);

// The arguments recorded by SetCommandLine, after the program's name, joined by single spaces (so
// "-software" can be looked for in it); empty before that call.
std::wstring GetCommandLine();

} // namespace Strata
