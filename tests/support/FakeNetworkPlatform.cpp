#include "support/FakeNetworkPlatform.h"

#include "core/ErrorStatus.h"
#include "core/RuntimeError.h"
#include "core/Stream.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <stdexcept>

namespace Strata::Testing
{

void StreamGate::Release()
{
    std::lock_guard<std::mutex> lock(mMutex);
    mReleased = true;
    mCondition.notify_all();
}

bool StreamGate::WaitUntilReached(int milliseconds)
{
    std::unique_lock<std::mutex> lock(mMutex);
    return mCondition.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return mReached; });
}

bool StreamGate::IsReached()
{
    std::lock_guard<std::mutex> lock(mMutex);
    return mReached;
}

void StreamGate::Wake()
{
    std::lock_guard<std::mutex> lock(mMutex);
    mCondition.notify_all();
}

struct FakeNetworkPlatform::Shared
{
    std::mutex mutex;
    std::map<std::wstring, std::vector<Response>> scripts;
    std::map<std::wstring, int> counts;
    std::vector<std::wstring> requests;
    int openStreams = 0;
};

namespace
{
class FakeHTTPStream final : public IStream, public IErrorStatus, public IAbortableStream
{
public:
    FakeHTTPStream(std::shared_ptr<FakeNetworkPlatform::Shared> shared, std::wstring url,
                   FakeNetworkPlatform::Response response)
        : mShared(std::move(shared)), mURL(std::move(url)), mResponse(std::move(response))
    {
        if (mResponse.status < 200 || mResponse.status >= 300)
        {
            SetLastError(mResponse.status >= 400 && mResponse.status < 500 ? HTTPError_ClientStatus
                                                                           : HTTPError_ServerStatus);
            mEnded = true;
        }
    }

    ~FakeHTTPStream() override
    {
        std::lock_guard<std::mutex> lock(mShared->mutex);
        --mShared->openStreams;
    }

    std::wstring GetName() override { return mURL; }
    unsigned long GetCapabilities() override { return StreamCaps_Read; }

    uint32_t GetLength() override
    {
        if (!mResponse.sendLength)
            return 0;
        return static_cast<uint32_t>(mResponse.announcedLength >= 0 ? mResponse.announcedLength
                                                                    : static_cast<long long>(mResponse.body.size()));
    }

    bool IsEOF() override
    {
        if (mPosition >= mResponse.body.size() && !(mResponse.endsLate && GetLength() == 0 && !mEnded))
        {
            HoldAtEnd();
            return true;
        }
        return mEnded || mAborted.load() || (GetLength() > 0 && mPosition >= GetLength());
    }

    size_t Read(void* buffer, size_t count) override
    {
        if (buffer == nullptr || mEnded)
            return 0;
        if (mResponse.gate && mResponse.gateAt < mResponse.body.size() && mPosition >= mResponse.gateAt && !mPassed)
            mPassed = mResponse.gate->Hold([this] { return mAborted.load(); });
        if (mAborted.load())
        {
            if (!mResponse.abortReadsAsEnd)
                SetLastError(HTTPError_Aborted);
            mEnded = true;
            return 0;
        }
        if (mPosition >= mResponse.body.size())
        {
            HoldAtEnd();
            mEnded = true;
            if (mResponse.errorAtEnd != 0)
                SetLastError(mResponse.errorAtEnd);
            return 0;
        }
        size_t n = std::min({count, mResponse.chunkSize, mResponse.body.size() - mPosition});
        if (mResponse.gate && !mPassed && mPosition < mResponse.gateAt)
            n = std::min(n, mResponse.gateAt - mPosition);
        std::memcpy(buffer, mResponse.body.data() + mPosition, n);
        mPosition += n;
        if (mPosition >= mResponse.body.size() && mResponse.errorAtEnd != 0)
        {
            SetLastError(mResponse.errorAtEnd);
            mEnded = true;
        }
        return n;
    }

    size_t ReadOptimized(void*&, size_t) override
    {
        STRATA_THROW(RuntimeError, std::string("FakeHTTPStream does not implement ReadOptimized."));
    }
    size_t Write(const void*, size_t) override { return 0; }
    void Seek(SeekOrigin, long long) override {}
    uint32_t Tell() override { return static_cast<uint32_t>(mPosition); }

    void AbortTransfer() override
    {
        mAborted.store(true);
        if (mResponse.gate)
            mResponse.gate->Wake();
    }

private:
    // A gate at the very end holds after the last byte, whatever asks first.
    void HoldAtEnd()
    {
        if (mResponse.gate && !mPassed && mResponse.gateAt >= mResponse.body.size())
        {
            mResponse.gate->Hold([this] { return mAborted.load(); });
            // Everything had arrived: an abort now changes nothing.
            mPassed = true;
        }
    }

    std::shared_ptr<FakeNetworkPlatform::Shared> mShared;
    std::wstring mURL;
    FakeNetworkPlatform::Response mResponse;
    size_t mPosition = 0;
    bool mEnded = false;
    bool mPassed = false;
    std::atomic<bool> mAborted{false};
};
} // namespace

FakeNetworkPlatform::FakeNetworkPlatform() : mShared(std::make_shared<Shared>())
{
    RegisterSingleton(this);
}

FakeNetworkPlatform::~FakeNetworkPlatform()
{
    UnregisterSingleton(this);
}

void FakeNetworkPlatform::Script(const std::wstring& url, std::vector<Response> responses)
{
    std::lock_guard<std::mutex> lock(mShared->mutex);
    mShared->scripts[url] = std::move(responses);
}

void FakeNetworkPlatform::Script(const std::wstring& url, Response response)
{
    Script(url, std::vector<Response>{std::move(response)});
}

int FakeNetworkPlatform::GetRequestCount(const std::wstring& url)
{
    std::lock_guard<std::mutex> lock(mShared->mutex);
    const auto found = mShared->counts.find(url);
    return found != mShared->counts.end() ? found->second : 0;
}

std::vector<std::wstring> FakeNetworkPlatform::GetRequests()
{
    std::lock_guard<std::mutex> lock(mShared->mutex);
    return mShared->requests;
}

int FakeNetworkPlatform::GetOpenStreamCount()
{
    std::lock_guard<std::mutex> lock(mShared->mutex);
    return mShared->openStreams;
}

IStream* FakeNetworkPlatform::OpenHTTPStream(const wchar_t* url)
{
    if (url == nullptr)
        return nullptr;
    Response response;
    {
        std::lock_guard<std::mutex> lock(mShared->mutex);
        const int index = mShared->counts[url]++;
        mShared->requests.push_back(url);
        const auto found = mShared->scripts.find(url);
        if (found == mShared->scripts.end() || found->second.empty())
        {
            response.status = 404;
        }
        else
        {
            const std::vector<Response>& answers = found->second;
            response = answers[std::min(static_cast<size_t>(index), answers.size() - 1)];
        }
        if (response.throwOnOpen)
            throw std::runtime_error("FakeNetworkPlatform: scripted failure");
        if (response.failOpen)
            return nullptr;
        ++mShared->openStreams;
    }
    return new FakeHTTPStream(mShared, url, std::move(response));
}

} // namespace Strata::Testing
