#include "CurlNetworkPlatform.h"

#include "HTTPStream.h"
#include "core/RuntimeError.h"

#include <string>

namespace Linux
{

NetworkPlatform::NetworkPlatform(const sHTTPSettings& settings) : mSettings(settings)
{
    if (!InitialiseCurl())
        STRATA_THROW(Strata::RuntimeError, std::string("Could not initialise libcurl."));
}

NetworkPlatform::~NetworkPlatform()
{
    Strata::UnregisterSingleton(this);
}

Strata::IStream* NetworkPlatform::OpenHTTPStream(const wchar_t* url)
{
    if (url == nullptr)
        return nullptr;
    return HTTPStream::Open(url, mSettings);
}

Strata::INetworkPlatform* CreateNetworkPlatform()
{
    return new NetworkPlatform();
}

} // namespace Linux
