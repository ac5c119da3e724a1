#pragma once

#include "framework/NetworkPlatform.h"

namespace Linux
{

// Limits of one HTTP exchange. A transfer that stays below `lowSpeedLimit` bytes a second for
// `lowSpeedSeconds` is given up, which also covers a server that never answers. The floor lies far under
// any working connection, but above a server that trickles a byte now and then to keep the transfer
// alive for hours: such a transfer fails and is fetched again later.
struct sHTTPSettings
{
    long connectTimeoutMilliseconds = 10000;
    long lowSpeedLimit = 1024;
    long lowSpeedSeconds = 10;
    long maxRedirects = 10;
};

// The network back end on libcurl: GET over http and https, redirects followed, answers outside 2xx
// reported as errors. Not registered by its constructor: the platform's set-up registers it.
class NetworkPlatform final : public Strata::INetworkPlatform
{
public:
    // Initialises libcurl once per process. Throws Strata::RuntimeError when that fails.
    explicit NetworkPlatform(const sHTTPSettings& settings = sHTTPSettings());
    // Clears the registry slot when it holds this platform.
    ~NetworkPlatform() override;
    NetworkPlatform(const NetworkPlatform&) = delete;
    NetworkPlatform& operator=(const NetworkPlatform&) = delete;

    using Strata::INetworkPlatform::OpenHTTPStream;
    // A Linux::HTTPStream; null for a null or empty URL or when libcurl cannot set the request up.
    Strata::IStream* OpenHTTPStream(const wchar_t* url) override;

private:
    sHTTPSettings mSettings;
};

// A new network platform with the default limits, owned by the caller and not registered.
Strata::INetworkPlatform* CreateNetworkPlatform();

} // namespace Linux
