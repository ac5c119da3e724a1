#include "framework/NetworkPlatform.h"

#include "core/WideString.h"

#include <atomic>
#include <string>

namespace Strata
{

namespace
{
constinit std::atomic<INetworkPlatform*> gNetworkPlatform{nullptr};
} // namespace

IStream* INetworkPlatform::OpenHTTPStream(const char* url)
{
    if (url == nullptr)
        return nullptr;
    const std::wstring wide = ConvertStringASCIIToWide(url);
    return OpenHTTPStream(wide.c_str());
}

void RegisterSingleton(INetworkPlatform* platform)
{
    gNetworkPlatform.store(platform);
}

void UnregisterSingleton(INetworkPlatform* platform)
{
    INetworkPlatform* expected = platform;
    gNetworkPlatform.compare_exchange_strong(expected, nullptr);
}

INetworkPlatform* GetNetworkPlatform()
{
    return gNetworkPlatform.load();
}

} // namespace Strata
