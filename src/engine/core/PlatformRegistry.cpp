#include "core/PlatformRegistry.h"

#include "core/Label.h"

#include <atomic>

namespace Strata
{

namespace
{

// The audio front end's volume groups, interned before main so their first spelling is this one.
const Label gEffectLabel(L"Effect");
const Label gAmbientLabel(L"Ambient");
const Label gMusicLabel(L"Music");

// Constant-initialised: back ends made by static initialisers may register before main.
constinit std::atomic<IPlatform*> gPlatform{nullptr};
constinit std::atomic<IGraphicsPlatform*> gGraphicsPlatform{nullptr};

template <class T> void Unregister(std::atomic<T*>& slot, T* pointer)
{
    T* expected = pointer;
    slot.compare_exchange_strong(expected, nullptr);
}

} // namespace

void IPlatform::SetApplicationTitle(const wchar_t*) {}

void RegisterSingleton(IPlatform* platform)
{
    gPlatform.store(platform);
}

void UnregisterSingleton(IPlatform* platform)
{
    Unregister(gPlatform, platform);
}

bool IsPlatformRegistered()
{
    return gPlatform.load() != nullptr;
}

IPlatform* GetPlatform()
{
    return gPlatform.load();
}

void RegisterSingleton(IGraphicsPlatform* platform)
{
    gGraphicsPlatform.store(platform);
}

void UnregisterSingleton(IGraphicsPlatform* platform)
{
    Unregister(gGraphicsPlatform, platform);
}

bool IsGraphicsPlatformRegistered()
{
    return gGraphicsPlatform.load() != nullptr;
}

IGraphicsPlatform* GetGraphicsPlatform()
{
    return gGraphicsPlatform.load();
}

} // namespace Strata
