#include "framework/DownloadManager.h"

#include "core/AutoStream.h"
#include "core/Checksum.h"
#include "core/ErrorStatus.h"
#include "core/FileSystem.h"
#include "core/Log.h"
#include "core/RuntimeError.h"
#include "core/Singleton.h"
#include "core/Stream.h"
#include "core/StreamCopy.h"
#include "core/WideString.h"
#include "framework/FileSource.h"
#include "framework/NetworkPlatform.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <exception>
#include <memory>
#include <mutex>

namespace Strata
{

namespace
{
constexpr int kThreadCount = 3;
// The longest step of a pause before a retry, so an abort or shut-down is seen promptly.
constexpr unsigned long kPauseSliceMilliseconds = 10;
constexpr unsigned long kCleanupPollMilliseconds = 5;

constinit std::atomic<DownloadManager*> gDownloadManager{nullptr};
std::mutex gCreationMutex;

bool HasFailed(IStream* stream)
{
    IErrorStatus* status = dynamic_cast<IErrorStatus*>(stream);
    return status != nullptr && status->HasErrorOccurred();
}

int LastErrorOf(IStream* stream)
{
    IErrorStatus* status = dynamic_cast<IErrorStatus*>(stream);
    return status != nullptr ? status->GetLastError() : 0;
}

// Asking again will not turn a 4xx answer into a file.
bool IsWorthRetrying(int code)
{
    return code != HTTPError_ClientStatus;
}

// Reports progress of one attempt to its transfer, but keeps a failure to itself: the attempt may be
// retried, and the transfer's error status must only show the final outcome.
class AttemptProgress final : public IDataTransferProgress
{
public:
    explicit AttemptProgress(DownloadManager::FileTransfer* transfer) : mTransfer(transfer) {}

    void OnDataTransferInit(uint32_t length) override { mTransfer->OnDataTransferInit(length); }
    void OnDataTransferProgress(float fraction, uint32_t bytes) override
    {
        mTransfer->OnDataTransferProgress(fraction, bytes);
    }
    void OnDataTransferComplete() override {}
    void OnDataTransferError(int code) override
    {
        if (mError == 0)
            mError = code;
    }
    bool ShouldAbort() override { return mTransfer->ShouldAbort(); }

    int GetError() const { return mError; }

private:
    DownloadManager::FileTransfer* mTransfer;
    int mError = 0;
};

// The part file of one attempt: closed when the attempt ends, and deleted unless it was put in place.
class PartFile
{
public:
    PartFile(IFileSystem* fileSystem, const FileAddress& address)
        : mFileSystem(fileSystem), mAddress(address),
          mStream(fileSystem->OpenStream(&mAddress, FileAccess_Write, FileCreation_CreateAlways))
    {
    }
    ~PartFile()
    {
        Close();
        if (!mCommitted)
            mFileSystem->DeleteFile(&mAddress);
    }
    PartFile(const PartFile&) = delete;
    PartFile& operator=(const PartFile&) = delete;

    IStream* Get() const { return mStream; }
    void Close()
    {
        if (mStream != nullptr)
        {
            mFileSystem->CloseStream(mStream);
            mStream = nullptr;
        }
    }
    // Renames the closed file over `target`; false when that fails (the part file is then deleted).
    bool Commit(const FileAddress& target)
    {
        Close();
        mCommitted = mFileSystem->RenameFile(&mAddress, &target);
        return mCommitted;
    }

private:
    IFileSystem* mFileSystem;
    FileAddress mAddress;
    IStream* mStream;
    bool mCommitted = false;
};

std::wstring FileNameOf(const FileAddress& address)
{
    return std::wstring(address.GetName() != nullptr ? address.GetName() : L"") +
           (address.GetExtension() != nullptr ? address.GetExtension() : L"");
}
} // namespace

// ---------------------------------------------------------------------------------------------------
// FileTransfer

DownloadManager::FileTransfer::FileTransfer(const std::wstring& url, const FileAddress& cacheAddress, int priority,
                                            int size, std::optional<uint32_t> checksum)
    : mMutex(CreateMutex()), mURL(url), mPriority(priority), mCacheAddress(cacheAddress),
      mSize(size > 0 ? static_cast<uint32_t>(size) : 0), mExpectedSize(size), mExpectedChecksum(checksum),
      mID(MakeID(url))
{
}

DownloadManager::FileTransfer::~FileTransfer()
{
    delete mMutex;
}

Label DownloadManager::FileTransfer::MakeID(const std::wstring& text)
{
    const size_t slash = text.rfind(L'/');
    return Label::FromString(slash == std::wstring::npos ? text : text.substr(slash));
}

uint32_t DownloadManager::FileTransfer::GetDataTransferSize()
{
    ScopedLock lock(mMutex);
    return mSize;
}

uint32_t DownloadManager::FileTransfer::GetDataTransferNumBytesCopied()
{
    ScopedLock lock(mMutex);
    if (mComplete)
        return mSize;
    // The last byte counts only once the file is in place.
    return mSize > 0 ? std::min(mNumBytesCopied, mSize - 1) : 0;
}

float DownloadManager::FileTransfer::GetDataTransferPctComplete()
{
    ScopedLock lock(mMutex);
    if (mComplete)
        return 1.0f;
    if (mSize == 0)
        return 0.0f;
    const float fraction = static_cast<float>(std::min(mNumBytesCopied, mSize - 1)) / static_cast<float>(mSize);
    // Large sizes would round up to 1 in float.
    return std::min(fraction, std::nextafter(1.0f, 0.0f));
}

void DownloadManager::FileTransfer::Abort()
{
    ScopedLock lock(mMutex);
    mAbort = true;
    mStopRequested = true;
    if (mStream != nullptr)
        mStream->AbortTransfer();
}

Label DownloadManager::FileTransfer::GetID()
{
    return mID;
}

void DownloadManager::FileTransfer::AddRef()
{
    mReferences.fetch_add(1, std::memory_order_relaxed);
}

void DownloadManager::FileTransfer::Release()
{
    if (mReferences.fetch_sub(1, std::memory_order_acq_rel) == 1)
        delete this;
}

void DownloadManager::FileTransfer::OnDataTransferInit(uint32_t length)
{
    ScopedLock lock(mMutex);
    // Without an announced length the expected size still serves progress.
    if (length > 0)
        mSize = length;
    mNumBytesCopied = 0;
}

void DownloadManager::FileTransfer::OnDataTransferProgress(float, uint32_t bytes)
{
    ScopedLock lock(mMutex);
    mNumBytesCopied = bytes > UINT32_MAX - mNumBytesCopied ? UINT32_MAX : mNumBytesCopied + bytes;
}

void DownloadManager::FileTransfer::OnDataTransferComplete()
{
    ScopedLock lock(mMutex);
    mSize = mNumBytesCopied;
    mComplete = true;
}

void DownloadManager::FileTransfer::OnDataTransferError(int code)
{
    SetLastError(code);
}

bool DownloadManager::FileTransfer::ShouldAbort()
{
    ScopedLock lock(mMutex);
    if (mInterrupt)
    {
        mInterrupt = false;
        return true;
    }
    return mAbort;
}

void DownloadManager::FileTransfer::Interrupt()
{
    ScopedLock lock(mMutex);
    mInterrupt = true;
    mStopRequested = true;
    if (mStream != nullptr)
        mStream->AbortTransfer();
}

void DownloadManager::FileTransfer::SetPriority(int priority)
{
    ScopedLock lock(mMutex);
    mPriority = priority;
}

int DownloadManager::FileTransfer::GetPriority()
{
    ScopedLock lock(mMutex);
    return mPriority;
}

bool DownloadManager::FileTransfer::IsAborted()
{
    ScopedLock lock(mMutex);
    return mAbort;
}

bool DownloadManager::FileTransfer::IsComplete()
{
    ScopedLock lock(mMutex);
    return mComplete;
}

bool DownloadManager::FileTransfer::AttachStream(IAbortableStream* stream)
{
    ScopedLock lock(mMutex);
    if (mAbort || mInterrupt)
        return false;
    mStream = stream;
    return true;
}

void DownloadManager::FileTransfer::DetachStream()
{
    ScopedLock lock(mMutex);
    mStream = nullptr;
}

void DownloadManager::FileTransfer::BeginRun()
{
    ScopedLock lock(mMutex);
    mInterrupt = false;
    mStopRequested = mAbort;
}

bool DownloadManager::FileTransfer::WasStopRequested()
{
    ScopedLock lock(mMutex);
    return mStopRequested;
}

// ---------------------------------------------------------------------------------------------------
// DownloadManager

DownloadManager::DownloadManager() : mMutex(CreateMutex())
{
    gDownloadManager.store(this);
    AutoDeleteSingleton(this);
}

DownloadManager::~DownloadManager()
{
    bool running = false;
    {
        ScopedLock lock(mMutex);
        running = !mThreads.empty();
    }
    if (running)
        Cleanup();
    DownloadManager* self = this;
    gDownloadManager.compare_exchange_strong(self, nullptr);
    mPending.clear();
    delete mMutex;
}

void DownloadManager::Setup()
{
    mShuttingDown.store(false);
    ScopedLock lock(mMutex);
    if (!mThreads.empty())
        return;
    // A new thread takes the mutex before it looks for its record, so it finds the record stored here.
    for (int i = 0; i < kThreadCount; ++i)
    {
        std::unique_ptr<IThreadSignal> signal(CreateThreadSignal());
        IThread* thread = CreateThread(this, ThreadFlags_StartImmediately);
        DownloadThread record;
        record.thread = thread;
        record.signal = signal.release();
        mThreads[thread->GetThreadID()] = record;
    }
    // Transfers may have been queued before the threads existed.
    ReassignDownloadThreads();
}

void DownloadManager::Cleanup()
{
    {
        ScopedLock lock(mMutex);
        mShuttingDown.store(true);
        for (auto& [id, record] : mThreads)
        {
            record.signal->Signal();
            if (record.transfer)
                record.transfer->Abort();
        }
        // A transfer no thread is working on would never end: it fails now. Threads report their own.
        for (auto it = mPending.begin(); it != mPending.end();)
        {
            const boost::intrusive_ptr<FileTransfer> transfer = *it;
            transfer->Abort();
            if (transfer->mBusy)
            {
                ++it;
                continue;
            }
            for (auto& [id, record] : mThreads)
                if (record.transfer == transfer)
                    record.transfer.reset();
            it = mPending.erase(it);
            transfer->OnDataTransferError(DownloadError_Aborted);
        }
    }
    while (!AreThreadsFinished())
        Sleep(kCleanupPollMilliseconds);
    ScopedLock lock(mMutex);
    for (auto& [id, record] : mThreads)
    {
        delete record.thread;
        delete record.signal;
    }
    mThreads.clear();
}

void DownloadManager::SetBaseURL(const std::wstring& url)
{
    std::wstring clean = ConvertToForwardSlashes(url);
    if (!clean.empty() && clean.back() == L'/')
        clean.pop_back();
    ScopedLock lock(mMutex);
    mBaseURL = clean;
}

FileAddress DownloadManager::PartAddressOf(const FileAddress& cache)
{
    const std::wstring extension =
        std::wstring(cache.GetExtension() != nullptr ? cache.GetExtension() : L"") + L".part";
    return FileAddress(cache.GetPartition(), cache.GetFolder(), cache.GetName(), extension.c_str());
}

boost::intrusive_ptr<IFileTransfer> DownloadManager::Download(const std::wstring& path, const FileAddress& cacheAddress,
                                                              int priority, int size, std::optional<uint32_t> checksum)
{
    std::wstring clean = ConvertToForwardSlashes(path);
    clean.erase(0, clean.find_first_not_of(L'/'));

    ScopedLock lock(mMutex);
    const std::wstring url = mBaseURL + L"/" + clean;
    if (mShuttingDown.load())
    {
        boost::intrusive_ptr<FileTransfer> refused(new FileTransfer(url, cacheAddress, priority, size, checksum),
                                                   false);
        refused->OnDataTransferError(DownloadError_Aborted);
        return refused;
    }
    if (boost::intrusive_ptr<FileTransfer> existing = FindTransfer(FileTransfer::MakeID(url)))
    {
        if (priority < existing->GetPriority())
        {
            existing->SetPriority(priority);
            ReassignDownloadThreads();
        }
        return existing;
    }
    // The new transfer's first reference is adopted here.
    boost::intrusive_ptr<FileTransfer> transfer(new FileTransfer(url, cacheAddress, priority, size, checksum), false);
    QueueTransfer(transfer);
    return transfer;
}

boost::intrusive_ptr<DownloadManager::FileTransfer> DownloadManager::FindTransfer(Label id)
{
    ScopedLock lock(mMutex);
    for (const auto& transfer : mPending)
        if (transfer->GetID() == id)
            return transfer;
    return nullptr;
}

void DownloadManager::QueueTransfer(const boost::intrusive_ptr<FileTransfer>& transfer)
{
    if (!transfer)
        return;
    ScopedLock lock(mMutex);
    mPending.push_back(transfer);
    ReassignDownloadThreads();
}

void DownloadManager::DeleteTransfer(const boost::intrusive_ptr<FileTransfer>& transfer)
{
    ScopedLock lock(mMutex);
    for (auto& [id, record] : mThreads)
        if (record.transfer == transfer)
            record.transfer.reset();
    mPending.remove(transfer);
    ReassignDownloadThreads();
}

void DownloadManager::ReassignDownloadThreads()
{
    ScopedLock lock(mMutex);
    if (mShuttingDown.load())
        return;
    // Stable: equal priorities keep their order of arrival.
    mPending.sort([](const boost::intrusive_ptr<FileTransfer>& a, const boost::intrusive_ptr<FileTransfer>& b)
                  { return a->GetPriority() < b->GetPriority(); });
    if (mPending.empty())
        return;
    const int urgent = mPending.front()->GetPriority();
    for (auto& [id, record] : mThreads)
    {
        if (record.transfer && record.transfer->GetPriority() > urgent)
        {
            record.transfer->Interrupt();
            record.transfer.reset();
        }
    }
    for (const auto& transfer : mPending)
    {
        if (transfer->GetPriority() > urgent)
            break;
        // A busy transfer is still being wound down by a thread that was told to let go of it: a second
        // thread must not write the same file at the same time.
        bool carried = transfer->mBusy;
        for (const auto& [id, record] : mThreads)
            carried = carried || record.transfer == transfer;
        if (carried)
            continue;
        auto idle =
            std::find_if(mThreads.begin(), mThreads.end(), [](const auto& entry) { return !entry.second.transfer; });
        if (idle == mThreads.end())
            break;
        idle->second.transfer = transfer;
        idle->second.signal->Signal();
    }
}

bool DownloadManager::AreThreadsFinished()
{
    ScopedLock lock(mMutex);
    return std::all_of(mThreads.begin(), mThreads.end(),
                       [](const auto& entry) { return entry.second.thread->GetState() == ThreadState_Finished; });
}

void DownloadManager::SetRetryPolicy(const sRetryPolicy& policy)
{
    ScopedLock lock(mMutex);
    mRetryPolicy = policy;
    mRetryPolicy.maxAttempts = std::max(1, policy.maxAttempts);
}

size_t DownloadManager::GetPendingCount()
{
    ScopedLock lock(mMutex);
    return mPending.size();
}

bool DownloadManager::IsCarriedBy(FileTransfer* transfer, unsigned long threadID)
{
    ScopedLock lock(mMutex);
    const auto found = mThreads.find(threadID);
    return found != mThreads.end() && found->second.transfer.get() == transfer;
}

void DownloadManager::Execute()
{
    const unsigned long threadID = GetCurrentThreadID();
    for (;;)
    {
        boost::intrusive_ptr<FileTransfer> transfer;
        IThreadSignal* signal = nullptr;
        {
            ScopedLock lock(mMutex);
            if (mShuttingDown.load())
                return;
            const auto found = mThreads.find(threadID);
            if (found == mThreads.end())
                return;
            signal = found->second.signal;
            transfer = found->second.transfer;
            if (transfer)
            {
                transfer->mBusy = true;
                transfer->BeginRun();
            }
        }
        if (!transfer)
        {
            // Signals live until Cleanup has seen this thread finish.
            signal->Wait();
            continue;
        }
        try
        {
            const sRunOutcome outcome = RunTransfer(transfer.get());
            FinishRun(transfer, outcome, threadID);
        }
        catch (...)
        {
            // Only bookkeeping runs here (the attempt itself catches its own); still, fail the transfer
            // rather than leave its caller waiting.
            Internal::LogWrite("DownloadManager: unexpected failure after downloading %s\n",
                               TruncateStringWideToASCII(transfer->GetURL().c_str()).c_str());
            DeleteTransfer(transfer);
            transfer->OnDataTransferError(DownloadError_Unexpected);
        }
        ScopedLock lock(mMutex);
        transfer->mBusy = false;
        // The transfer may wait for a thread now that this one has let go of it.
        ReassignDownloadThreads();
    }
}

DownloadManager::sRunOutcome DownloadManager::RunTransfer(FileTransfer* transfer)
{
    const std::string url = TruncateStringWideToASCII(transfer->GetURL().c_str());
    try
    {
        return RunTransferUnguarded(transfer);
    }
    catch (const RuntimeError& error)
    {
        Internal::LogWrite("DownloadManager: downloading %s failed: %s (%s:%d)\n", url.c_str(), error.what(),
                           error.GetFile().c_str(), error.GetLine());
    }
    catch (const std::exception& error)
    {
        Internal::LogWrite("DownloadManager: downloading %s failed: %s\n", url.c_str(), error.what());
    }
    catch (...)
    {
        Internal::LogWrite("DownloadManager: downloading %s failed by an unknown exception\n", url.c_str());
    }
    sRunOutcome outcome;
    outcome.code = DownloadError_Unexpected;
    return outcome;
}

DownloadManager::sRunOutcome DownloadManager::RunTransferUnguarded(FileTransfer* transfer)
{
    sRunOutcome failed;
    failed.result = eRunResult::Failed;
    sRunOutcome stopped;
    stopped.result = eRunResult::Stopped;

    IFileSystem* fileSystem = GetFileSystem();
    if (fileSystem == nullptr)
    {
        failed.code = DownloadError_NoCacheFile;
        return failed;
    }
    const FileAddress& cache = transfer->GetCacheAddress();
    const FileAddress partAddress = PartAddressOf(cache);
    // A part file from a killed run is no use, whatever happens to this attempt.
    fileSystem->DeleteFile(&partAddress);

    INetworkPlatform* network = GetNetworkPlatform();
    std::unique_ptr<IStream> http(network != nullptr ? network->OpenHTTPStream(transfer->GetURL().c_str()) : nullptr);
    if (!http)
    {
        failed.code = DownloadError_NoHTTPStream;
        return failed;
    }
    // Detached before the stream is deleted, so Abort never reaches a deleted stream.
    struct Attachment
    {
        FileTransfer* transfer;
        ~Attachment() { transfer->DetachStream(); }
    } attachment{transfer};
    if (!transfer->AttachStream(dynamic_cast<IAbortableStream*>(http.get())))
        return stopped;
    if (HasFailed(http.get()))
    {
        const int code = LastErrorOf(http.get());
        if (transfer->WasStopRequested())
            return stopped;
        failed.code = DownloadError_NoHTTPStream;
        failed.retry = IsWorthRetrying(code);
        return failed;
    }

    const uint32_t length = http->GetLength();
    const int expected = transfer->GetExpectedSize();
    // An answer announcing another length than the listed one is not the listed file: nothing of it is
    // written. (A length of 4 GiB or more reads as none, and is caught by the cap below.)
    if (expected >= 0 && length > 0 && length != static_cast<uint32_t>(expected))
    {
        failed.code = DownloadError_SizeMismatch;
        failed.retry = true;
        return failed;
    }
    PartFile part(fileSystem, partAddress);
    if (part.Get() == nullptr || HasFailed(part.Get()))
    {
        failed.code = DownloadError_NoCacheFile;
        failed.retry = true;
        return failed;
    }

    AttemptProgress progress(transfer);
    progress.OnDataTransferInit(length);
    // One byte past the listed size is enough to know the body is not the listed file: a server that
    // never stops sending fills no more of the disk than that.
    unsigned long cap = length > 0 ? static_cast<unsigned long>(length) : 0xFFFFFFFFul;
    if (expected >= 0)
        cap = static_cast<unsigned long>(expected) + 1;
    const unsigned long copied = StreamCopy(http.get(), part.Get(), cap, &progress);
    // A stopped stream reads as ended: without an announced length, an end seen once a stop was asked
    // for may be the stop's rather than the body's, so the body is not taken as whole.
    const bool atEnd = http->IsEOF() && (length > 0 || !transfer->WasStopRequested());
    int error = progress.GetError();
    if (error == 0 && HasFailed(http.get()))
        error = LastErrorOf(http.get());
    if (error == 0 && HasFailed(part.Get()))
        error = LastErrorOf(part.Get());
    // The file is closed (and on disk) before it may be renamed.
    part.Close();

    const bool whole = error == 0 && atEnd && (length == 0 || copied == length);
    const int mismatch = whole ? CheckBody(partAddress, transfer, copied) : 0;
    if (!whole || mismatch != 0)
    {
        // Cut short, damaged, or stopped between chunks because it was told to.
        if (transfer->WasStopRequested())
            return stopped;
        failed.code = error != 0 ? error : (mismatch != 0 ? mismatch : DownloadError_SizeMismatch);
        failed.retry = IsWorthRetrying(failed.code);
        return failed;
    }
    if (!part.Commit(cache))
    {
        failed.code = DownloadError_NoCacheFile;
        failed.retry = true;
        return failed;
    }
    sRunOutcome complete;
    complete.result = eRunResult::Complete;
    return complete;
}

int DownloadManager::CheckBody(const FileAddress& part, FileTransfer* transfer, unsigned long copied)
{
    const std::wstring name = FileNameOf(transfer->GetCacheAddress());
    // Text files too are held to their listed size: their checksum skips white space, so a body cut
    // where only white space was left (by a lying length, or a lost connection) would pass it.
    const int expected = transfer->GetExpectedSize();
    if (expected >= 0 && copied != static_cast<unsigned long>(expected))
        return DownloadError_SizeMismatch;
    const std::optional<uint32_t>& checksum = transfer->GetExpectedChecksum();
    if (!checksum)
        return 0;
    // Read back from the cache: what counts is what the file source will find there.
    AutoStream stream(&part, FileAccess_Read, FileCreation_OpenExisting);
    if (!stream)
        return DownloadError_NoCacheFile;
    const uint32_t size = expected >= 0 ? static_cast<uint32_t>(expected) : static_cast<uint32_t>(copied);
    return MatchesListing(stream.Get(), name, size, *checksum) ? 0 : DownloadError_ChecksumMismatch;
}

bool DownloadManager::PauseBeforeRetry(FileTransfer* transfer, unsigned long threadID, unsigned long milliseconds)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    for (;;)
    {
        if (transfer->IsAborted() || mShuttingDown.load() || !IsCarriedBy(transfer, threadID))
            return false;
        // Rounded up, so the pause is never cut short by a fraction of a millisecond.
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
        if (left <= 0)
            return true;
        Sleep(std::min<unsigned long>(static_cast<unsigned long>(left), kPauseSliceMilliseconds));
    }
}

void DownloadManager::FinishRun(const boost::intrusive_ptr<FileTransfer>& transfer, const sRunOutcome& outcome,
                                unsigned long threadID)
{
    switch (outcome.result)
    {
    case eRunResult::Complete:
        DeleteTransfer(transfer);
        transfer->OnDataTransferComplete();
        return;
    case eRunResult::Stopped:
        if (transfer->IsAborted() || mShuttingDown.load())
        {
            DeleteTransfer(transfer);
            transfer->OnDataTransferError(DownloadError_Aborted);
        }
        // Otherwise it was interrupted: it stays pending, and runs again at once if this thread was
        // given it back meanwhile.
        return;
    case eRunResult::Failed:
        break;
    }

    int attempts = 0;
    sRetryPolicy policy;
    {
        ScopedLock lock(mMutex);
        attempts = ++transfer->mAttempts;
        policy = mRetryPolicy;
    }
    if (outcome.retry && attempts < policy.maxAttempts)
    {
        const int doublings = std::min(attempts - 1, 16);
        const unsigned long delay = policy.firstDelayMilliseconds << doublings;
        PauseBeforeRetry(transfer.get(), threadID, delay);
        if (!transfer->IsAborted() && !mShuttingDown.load())
        {
            // Runs again: on this thread if it still carries it, else when a thread is given it.
            return;
        }
        DeleteTransfer(transfer);
        transfer->OnDataTransferError(DownloadError_Aborted);
        return;
    }
    DeleteTransfer(transfer);
    transfer->OnDataTransferError(outcome.code);
}

// ---------------------------------------------------------------------------------------------------
// Registry

IDownloadManager* GetDownloadManager()
{
    if (DownloadManager* manager = gDownloadManager.load())
        return manager;
    std::lock_guard<std::mutex> guard(gCreationMutex);
    if (DownloadManager* manager = gDownloadManager.load())
        return manager;
    DownloadManager* manager = new DownloadManager();
    manager->Setup();
    return manager;
}

bool IsDownloadManagerRegistered()
{
    return gDownloadManager.load() != nullptr;
}

} // namespace Strata
