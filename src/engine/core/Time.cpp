#include "core/Time.h"

#include "core/WideString.h"

#include <mutex>
#include <time.h>

namespace Strata
{

namespace
{
// Linux offers no desktop-wide setting to the core; this is the common default of the desktops.
constexpr uint32_t DoubleClickTimeMS = 500;

std::mutex gCommandLineMutex;
std::wstring gCommandLine;
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

void SetCommandLine(int argc, char** argv)
{
    std::wstring line;
    // A null program name ends the list before any argument.
    if (argv != nullptr && argc > 0 && argv[0] != nullptr)
    {
        for (int i = 1; i < argc && argv[i] != nullptr; ++i)
        {
            if (i > 1)
                line += L' ';
            line += ConvertStringUTF8ToWide(reinterpret_cast<const unsigned char*>(argv[i]));
        }
    }
    std::lock_guard<std::mutex> lock(gCommandLineMutex);
    gCommandLine = std::move(line);
}

std::wstring GetCommandLine()
{
    std::lock_guard<std::mutex> lock(gCommandLineMutex);
    return gCommandLine;
}

} // namespace Strata
