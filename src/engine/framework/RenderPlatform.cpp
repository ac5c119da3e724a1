#include "framework/RenderPlatform.h"

#include <atomic>

namespace Strata
{

namespace
{
// Constant-initialised: a back end made by a static initialiser may register before main.
constinit std::atomic<IRenderPlatform*> gRenderPlatform{nullptr};
} // namespace

void RegisterSingleton(IRenderPlatform* platform)
{
    gRenderPlatform.store(platform);
}

void UnregisterSingleton(IRenderPlatform* platform)
{
    IRenderPlatform* expected = platform;
    gRenderPlatform.compare_exchange_strong(expected, nullptr);
}

bool IsRenderPlatformRegistered()
{
    return gRenderPlatform.load() != nullptr;
}

IRenderPlatform* GetRenderPlatform()
{
    return gRenderPlatform.load();
}

} // namespace Strata
