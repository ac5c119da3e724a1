#include "core/Time.h"

#include <time.h>

namespace Strata
{

namespace
{
// Linux offers no desktop-wide setting to the core; this is the common default of the desktops.
constexpr uint32_t DoubleClickTimeMS = 500;
} // namespace

uint64_t GetTimeUS()
{
    timespec now{};
    // CLOCK_MONOTONIC cannot fail on Linux for a valid timespec pointer.
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1000000u + static_cast<uint64_t>(now.tv_nsec) / 1000u;
}

uint32_t GetTimeMS()
{
    return static_cast<uint32_t>(GetTimeUS() / 1000u);
}

uint32_t GetDoubleClickTime()
{
    return DoubleClickTimeMS;
}

std::wstring GetCommandLine()
{
    return std::wstring();
}

} // namespace Strata
