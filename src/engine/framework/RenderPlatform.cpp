#include "framework/RenderPlatform.h"

#include <atomic>
#include <cstdint>

namespace Strata
{

namespace
{
// Constant-initialised: a back end made by a static initialiser may register before main.
constinit std::atomic<IRenderPlatform*> gRenderPlatform{nullptr};
// Counts the slot's changes, each after the slot was written. Starts above zero, the "never looked"
// mark of a cache keyed on it.
constinit std::atomic<uint64_t> gGeneration{1};
} // namespace

void RegisterSingleton(IRenderPlatform* platform)
{
    gRenderPlatform.store(platform);
    gGeneration.fetch_add(1);
}

void UnregisterSingleton(IRenderPlatform* platform)
{
    IRenderPlatform* expected = platform;
    if (gRenderPlatform.compare_exchange_strong(expected, nullptr))
        gGeneration.fetch_add(1);
}

namespace Internal
{
uint64_t GetRenderPlatformGeneration()
{
    return gGeneration.load();
}
} // namespace Internal

bool IsRenderPlatformRegistered()
{
    return gRenderPlatform.load() != nullptr;
}

IRenderPlatform* GetRenderPlatform()
{
    return gRenderPlatform.load();
}

} // namespace Strata
