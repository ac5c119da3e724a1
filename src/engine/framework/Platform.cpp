#include "framework/Platform.h"

#include <atomic>

namespace Strata
{

namespace
{
// Constant-initialised: a back end made by a static initialiser may register before main.
constinit std::atomic<IPlatform*> gPlatform{nullptr};
} // namespace

void IPlatform::SetCustomCursorImage(eCursor, IImage*, const Vector2<int>&)
{
}

void IPlatform::SetApplicationTitle(const wchar_t*)
{
}

bool IPlatform::LocateMouse(Vector2<int>*)
{
    return false;
}

void RegisterSingleton(IPlatform* platform)
{
    gPlatform.store(platform);
}

void UnregisterSingleton(IPlatform* platform)
{
    IPlatform* expected = platform;
    gPlatform.compare_exchange_strong(expected, nullptr);
}

bool IsPlatformRegistered()
{
    return gPlatform.load() != nullptr;
}

IPlatform* GetPlatform()
{
    return gPlatform.load();
}

} // namespace Strata
