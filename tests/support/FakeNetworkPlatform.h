#pragma once

#include "framework/NetworkPlatform.h"

#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace Strata::Testing
{

// Holds a scripted stream at a point of its body until the test releases it (or the stream is aborted).
class StreamGate
{
public:
    // Lets every stream held here (and every later one) go on.
    void Release();
    // True once a stream has reached the gate; waits at most `milliseconds`.
    bool WaitUntilReached(int milliseconds);
    bool IsReached();

    // Called by a stream: blocks until released or until `aborted` turns true (checked on Wake).
    // True when released.
    template <class Aborted>
    bool Hold(Aborted aborted)
    {
        std::unique_lock<std::mutex> lock(mMutex);
        mReached = true;
        mCondition.notify_all();
        mCondition.wait(lock, [&] { return mReleased || aborted(); });
        return mReleased;
    }
    // Makes held streams look at their abort flag again.
    void Wake();

private:
    std::mutex mMutex;
    std::condition_variable mCondition;
    bool mReached = false;
    bool mReleased = false;
};

// A scripted INetworkPlatform for tests. Each URL has a list of answers used one per request, the last
// one repeating; a URL without a script answers 404. Safe to call from several threads.
class FakeNetworkPlatform : public INetworkPlatform
{
public:
    struct Response
    {
        // Outside 2xx the stream reports HTTPError_ClientStatus (4xx) or HTTPError_ServerStatus at once.
        int status = 200;
        std::string body;
        // False: no length is announced (GetLength is 0).
        bool sendLength = true;
        // When not negative, the announced length instead of the body's.
        long long announcedLength = -1;
        // With no length announced, the end shows only when a read finds nothing more, as a connection
        // closed some time after its last byte.
        bool endsLate = false;
        // An abort reads as the body's end rather than as a failure, as a real stream reports it while
        // it still holds bytes it had received.
        bool abortReadsAsEnd = false;
        // The most bytes one Read hands out.
        size_t chunkSize = 1024;
        // Reported once the whole body has been read (0: the body ends cleanly).
        int errorAtEnd = 0;
        // OpenHTTPStream returns null.
        bool failOpen = false;
        // OpenHTTPStream throws a std::runtime_error.
        bool throwOnOpen = false;
        // The stream holds at the gate once `gateAt` bytes were read: in Read, or, when `gateAt` is the
        // body's length, in the first call after the last byte was read.
        std::shared_ptr<StreamGate> gate;
        size_t gateAt = 0;
    };

    // Registers itself; unregisters when destroyed.
    FakeNetworkPlatform();
    ~FakeNetworkPlatform() override;

    void Script(const std::wstring& url, std::vector<Response> responses);
    void Script(const std::wstring& url, Response response);

    int GetRequestCount(const std::wstring& url);
    // Every URL asked for, in order.
    std::vector<std::wstring> GetRequests();
    // Streams handed out and not yet deleted.
    int GetOpenStreamCount();

    using INetworkPlatform::OpenHTTPStream;
    IStream* OpenHTTPStream(const wchar_t* url) override;

    struct Shared;

private:
    std::shared_ptr<Shared> mShared;
};

} // namespace Strata::Testing
