#pragma once

namespace Strata
{

class IStream;

// Error codes an HTTP body stream reports through its IErrorStatus.
enum eHTTPError : int
{
    HTTPError_Connection = -20,   // no connection, or the exchange broke off
    HTTPError_ClientStatus = -21, // a 4xx answer: asking again will not help
    HTTPError_ServerStatus = -22, // any other answer outside 2xx
    HTTPError_Truncated = -23,    // the body ended before its announced length
    HTTPError_TimedOut = -24,     // connecting took too long, or the transfer stalled
    HTTPError_Aborted = -25       // cut short by AbortTransfer
};

// Implemented by streams whose blocking calls another thread may cut short.
class IAbortableStream
{
public:
    // Safe from any thread while the stream exists: every blocking call returns promptly from now on
    // and the stream ends, reporting HTTPError_Aborted unless its whole body had already arrived.
    virtual void AbortTransfer() = 0;

protected:
    ~IAbortableStream() = default;
};

// The network back end: HTTP GET bodies as streams.
class INetworkPlatform
{
public:
    virtual ~INetworkPlatform() = default;

    // Widens the ASCII text and calls the wide form. Null for a null URL.
    virtual IStream* OpenHTTPStream(const char* url);
    // A new stream (owned by the caller, deleted with delete) that reads the body of a GET of the URL,
    // following redirects; null when the request cannot be set up. Connection and protocol failures,
    // and answers outside 2xx, surface through the stream's IErrorStatus (codes of eHTTPError), never
    // as exceptions. GetLength is the announced body length, 0 when none was announced; IsEOF is true
    // once the body has ended or that many bytes were read. The stream cannot be written or sought.
    // Implementations that override only this form bring the other in with a using-declaration.
    virtual IStream* OpenHTTPStream(const wchar_t* url) = 0;
};

// The registry slot, holding the pointer without owning it. Register replaces any earlier pointer;
// Unregister clears the slot only when it holds that very pointer.
void RegisterSingleton(INetworkPlatform* platform);
void UnregisterSingleton(INetworkPlatform* platform);
INetworkPlatform* GetNetworkPlatform(); // null when none is registered

} // namespace Strata
