#pragma once

#include "CurlNetworkPlatform.h"
#include "core/ErrorStatus.h"
#include "core/Stream.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace Linux
{

// Initialises libcurl once per process; false when that failed.
bool InitialiseCurl();

// The body of one HTTP GET as a stream, driven by libcurl's multi interface on the calling thread: no
// thread of its own, and at most what one round of the transfer delivers is held in memory.
//
// The request starts with the first call that needs the answer; every call but AbortTransfer waits at
// most until the answer's headers are in (GetLength, IsEOF, the error status) or the next bytes arrive
// (Read), bounded by the connect and low-speed limits. Failures are reported through IErrorStatus with
// the codes of Strata::eHTTPError, never thrown. All calls but AbortTransfer come from one thread.
//
// Only a final 2xx answer is a body: any other final status, 101 among them, fails the stream with
// HTTPError_ClientStatus (4xx) or HTTPError_ServerStatus; a body longer than its "Content-Length" fails
// it with HTTPError_Connection, with no byte past that length passed on.
class HTTPStream final : public Strata::IStream, public Strata::IErrorStatus, public Strata::IAbortableStream
{
public:
    // Null when libcurl cannot set the request up.
    static HTTPStream* Open(const std::wstring& url, const sHTTPSettings& settings);
    // Ends the transfer and closes its connection at once.
    ~HTTPStream() override;
    HTTPStream(const HTTPStream&) = delete;
    HTTPStream& operator=(const HTTPStream&) = delete;

    // The URL.
    std::wstring GetName() override;
    unsigned long GetCapabilities() override;
    // The "Content-Length" of the answer; 0 when none was given (or it is 4 GiB or more).
    uint32_t GetLength() override;
    // True once the body has ended (or failed) and every byte of it was read, or the bytes read reach
    // the announced length.
    bool IsEOF() override;
    // Waits for bytes; 0 at the end, after a failure or after an abort.
    size_t Read(void* buffer, size_t count) override;
    // Always throws Strata::RuntimeError: the body is not held in one piece.
    size_t ReadOptimized(void*& pointer, size_t count) override;
    // The stream cannot be written: 0.
    size_t Write(const void* data, size_t count) override;
    // The stream cannot be sought: does nothing.
    void Seek(Strata::SeekOrigin origin, long long offset) override;
    // Bytes read so far (0xFFFFFFFF past 4 GiB).
    uint32_t Tell() override;

    // Both wait for the answer's headers first.
    bool HasErrorOccurred() override;
    int GetLastError() override;

    void AbortTransfer() override;

private:
    HTTPStream(const std::wstring& url);
    bool SetUp(const std::string& url, const sHTTPSettings& settings);

    void WaitForHeaders();
    // One round of the transfer; waits up to a short while for the socket when nothing happened.
    void Pump();
    void CollectResult();
    void Fail(int code);
    void Finish(int code);

    static size_t OnHeader(char* data, size_t size, size_t count, void* self);
    static size_t OnBody(char* data, size_t size, size_t count, void* self);
    size_t HandleHeader(const char* data, size_t length);
    size_t HandleBody(const char* data, size_t length);

    std::wstring mName;
    void* mMulti = nullptr; // CURLM*
    void* mEasy = nullptr;  // CURL*
    bool mAdded = false;

    std::vector<uint8_t> mBuffer;
    size_t mBufferRead = 0;
    bool mHeadersDone = false;
    bool mFinished = false;
    bool mSawLocation = false;
    bool mChunked = false;
    long long mContentLength = -1;
    uint64_t mBytesReceived = 0;
    uint64_t mBytesRead = 0;
    std::atomic<bool> mAborted{false};
    char mErrorText[256] = {};
};

} // namespace Linux
