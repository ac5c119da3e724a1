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

// The program's command line; always empty on this platform.
std::wstring GetCommandLine();

} // namespace Strata
