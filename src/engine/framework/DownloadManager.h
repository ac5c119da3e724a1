#pragma once

#include "core/FileAddress.h"
#include "core/Threading.h"
#include "framework/FileTransfer.h"

#include <boost/intrusive_ptr.hpp>

#include <atomic>
#include <cstdint>
#include <list>
#include <map>
#include <optional>
#include <string>

namespace Strata
{

class IAbortableStream;
class IStream;

// Error codes of a transfer, besides those its HTTP stream reports (see eHTTPError).
enum eDownloadError : int
{
    DownloadError_NoHTTPStream = -2, // the request could not be made, or its answer was a failure
    DownloadError_NoCacheFile = -3,  // the cache file could not be written or put in place
    DownloadError_Aborted = -4,
    DownloadError_SizeMismatch = -5,    // the body was not as long as announced, or as the table lists
    DownloadError_Unexpected = -6,      // an unexpected exception in the download thread
    DownloadError_ChecksumMismatch = -7 // the body's checksum is not the one the table lists
};

class IDownloadManager
{
public:
    virtual void Setup() = 0;
    virtual void Cleanup() = 0;
    virtual void SetBaseURL(const std::wstring& url) = 0;
    // The transfer of base URL + "/" + path into the cache address; never null. `size` is the size
    // the file should have (negative when unknown) and `checksum` the one it should have, as the table
    // of contents lists them: a body that differs fails instead of being put in place.
    virtual boost::intrusive_ptr<IFileTransfer> Download(const std::wstring& path, const FileAddress& cacheAddress,
                                                         int priority, int size,
                                                         std::optional<uint32_t> checksum = std::nullopt) = 0;
    virtual ~IDownloadManager() = default;
};

// Fetches files into the per-user cache on three threads. Only the most urgent priority class runs
// (a smaller number is more urgent); a more urgent transfer interrupts less urgent ones, which wait in
// the list and start over later.
//
// A body is written to "<name><extension>.part" beside the cache file and renamed over it only once
// it is complete and matches the size and checksum it was asked for (text files, ".txt" and ".xml",
// by their checksum without white space), so a half-written or damaged file never shadows a good
// copy. An answer that announces another length than the listed size is refused unread, and a body
// is never written past one byte beyond its listed size. A part file left by a killed program is deleted when its
// transfer starts again. A transfer reports 100 % only after that rename: until then its copied count stays below its
// size (see FileTransfer). A failed attempt is retried with a growing pause (see SetRetryPolicy) before the failure is
// reported; 4xx answers and requests that cannot be made are not retried.
//
// Locks, outermost first: file system, this manager's mutex, a transfer's mutex, an HTTP stream's own
// state. A download thread never holds the manager's mutex while it opens a file or a stream, copies,
// or pauses.
class DownloadManager : public IDownloadManager, public IEntryPoint
{
public:
    class FileTransfer final : public IFileTransfer, public IDataTransferProgress
    {
    public:
        // Throws RuntimeError when its mutex cannot be made.
        FileTransfer(const std::wstring& url, const FileAddress& cacheAddress, int priority, int size,
                     std::optional<uint32_t> checksum = std::nullopt);
        ~FileTransfer() override;
        FileTransfer(const FileTransfer&) = delete;
        FileTransfer& operator=(const FileTransfer&) = delete;

        // The label of the text from its last '/' on (the '/' included); of the whole text without '/'.
        static Label MakeID(const std::wstring& text);

        // The size: the expected one until a download announces its length, then that length, and at
        // completion the bytes actually written.
        uint32_t GetDataTransferSize() override;
        // Below the size until the file is in place, then equal to it.
        uint32_t GetDataTransferNumBytesCopied() override;
        // Reaches 1 only once the file is in place under its own name, even when the size is 0.
        float GetDataTransferPctComplete() override;
        // Stops the transfer at its next step, cutting a blocked read short. A transfer whose file
        // is already complete stays complete.
        void Abort() override;
        Label GetID() override;
        void AddRef() override;
        void Release() override;

        // Size = length when a length is known (else the expected size stays), copied = 0.
        void OnDataTransferInit(uint32_t length) override;
        void OnDataTransferProgress(float fraction, uint32_t bytes) override;
        // Marks the file as in place; only the download thread calls it, after the rename.
        void OnDataTransferComplete() override;
        // Reports the failure: the transfer's last error becomes `code`.
        void OnDataTransferError(int code) override;
        // True when aborted; also true once (clearing it) after an interrupt.
        bool ShouldAbort() override;

        // Makes the running download stop within one step and cuts a blocked read short.
        void Interrupt();
        void SetPriority(int priority);
        int GetPriority();
        bool IsAborted();
        bool IsComplete();

        const std::wstring& GetURL() const { return mURL; }
        const FileAddress& GetCacheAddress() const { return mCacheAddress; }
        int GetExpectedSize() const { return mExpectedSize; }
        const std::optional<uint32_t>& GetExpectedChecksum() const { return mExpectedChecksum; }

    private:
        friend class DownloadManager;

        // Lets Abort and Interrupt reach the stream being read. False (nothing attached) when the
        // transfer has already been told to stop.
        bool AttachStream(IAbortableStream* stream);
        void DetachStream();
        // A new run: forgets an interrupt meant for an earlier one.
        void BeginRun();
        // True when Abort or Interrupt was called since the run began.
        bool WasStopRequested();

        IMutex* mMutex;
        const std::wstring mURL;
        int mPriority;
        const FileAddress mCacheAddress;
        uint32_t mSize;
        uint32_t mNumBytesCopied = 0;
        bool mInterrupt = false;
        bool mAbort = false;
        bool mComplete = false;
        bool mStopRequested = false;
        IAbortableStream* mStream = nullptr;
        const int mExpectedSize;
        const std::optional<uint32_t> mExpectedChecksum;
        const Label mID;
        std::atomic<int> mReferences{1};

        // Guarded by the manager's mutex.
        bool mBusy = false; // a download thread is working on it (or winding down after an interrupt)
        int mAttempts = 0;  // failed attempts so far
    };

    struct DownloadThread
    {
        IThread* thread = nullptr;
        IThreadSignal* signal = nullptr;
        boost::intrusive_ptr<FileTransfer> transfer;
    };

    // Tries per transfer, and the pause after the first failure; each later pause doubles.
    struct sRetryPolicy
    {
        int maxAttempts = 3;
        unsigned long firstDelayMilliseconds = 500;
    };

    // Registers itself and hands itself to AutoDeleteSingleton. Throws RuntimeError when its mutex
    // cannot be made (nothing is registered then).
    DownloadManager();
    // Stops the threads if Cleanup was not called, then clears the registry slot if it holds this.
    ~DownloadManager() override;
    DownloadManager(const DownloadManager&) = delete;
    DownloadManager& operator=(const DownloadManager&) = delete;

    // Starts the three download threads; does nothing when they exist. Throws RuntimeError when a
    // thread or signal cannot be made (the threads made so far stay and work).
    void Setup() override;
    // Stops the threads: transfers they carry end with -4, and so does every other pending transfer,
    // so that nobody waits on them. Returns once every thread has finished. Later downloads fail at
    // once with -4.
    void Cleanup() override;
    // Stores the URL with '\' turned into '/' and one trailing '/' removed.
    void SetBaseURL(const std::wstring& url) override;
    // Throws RuntimeError only when a new transfer cannot be made.
    boost::intrusive_ptr<IFileTransfer> Download(const std::wstring& path, const FileAddress& cacheAddress,
                                                 int priority, int size,
                                                 std::optional<uint32_t> checksum = std::nullopt) override;

    // Where the body for `cache` is written until it is put in place: its extension + ".part".
    static FileAddress PartAddressOf(const FileAddress& cache);

    // The first pending transfer with that identifier, or null.
    boost::intrusive_ptr<FileTransfer> FindTransfer(Label id);
    void QueueTransfer(const boost::intrusive_ptr<FileTransfer>& transfer);
    // Takes the transfer off its thread and out of the pending list; unknown transfers are ignored.
    void DeleteTransfer(const boost::intrusive_ptr<FileTransfer>& transfer);
    // Gives the most urgent pending transfers to idle threads, interrupting less urgent running ones.
    void ReassignDownloadThreads();
    bool AreThreadsFinished();

    // Takes effect from the next failure. Values below 1 attempt count as 1.
    void SetRetryPolicy(const sRetryPolicy& policy);
    size_t GetPendingCount();

    // The body of every download thread.
    void Execute() override;

private:
    enum class eRunResult
    {
        Complete,
        Failed,
        Stopped // told to stop: aborted, interrupted or shutting down
    };
    struct sRunOutcome
    {
        eRunResult result = eRunResult::Failed;
        int code = 0;
        bool retry = false;
    };

    // One attempt: GET, write the part file, rename it into place. Never throws.
    sRunOutcome RunTransfer(FileTransfer* transfer);
    sRunOutcome RunTransferUnguarded(FileTransfer* transfer);
    // What follows an attempt: completion, failure, retry after a pause, or nothing (interrupted).
    void FinishRun(const boost::intrusive_ptr<FileTransfer>& transfer, const sRunOutcome& outcome,
                   unsigned long threadID);
    // Pauses in short slices; false when the transfer was aborted, taken off this thread, or the
    // manager is shutting down meanwhile.
    bool PauseBeforeRetry(FileTransfer* transfer, unsigned long threadID, unsigned long milliseconds);
    bool IsCarriedBy(FileTransfer* transfer, unsigned long threadID);
    // 0 when the closed part file of `copied` bytes is the file the transfer asked for, else the
    // error to report.
    static int CheckBody(const FileAddress& part, FileTransfer* transfer, unsigned long copied);

    std::list<boost::intrusive_ptr<FileTransfer>> mPending;
    std::map<unsigned long, DownloadThread> mThreads;
    IMutex* mMutex;
    std::atomic<bool> mShuttingDown{false};
    std::wstring mBaseURL;
    sRetryPolicy mRetryPolicy;
};

// The manager, created and set up on first use (from any thread). Throws RuntimeError when it cannot
// be made.
IDownloadManager* GetDownloadManager();
bool IsDownloadManagerRegistered();

} // namespace Strata
