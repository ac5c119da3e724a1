#pragma once

#include "core/ErrorStatus.h"
#include "core/Referenced.h"
#include "core/StreamCopy.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>

namespace Strata
{

// What a synchronous load reports to, and asks whether to give up.
class IResourceLoadProgress
{
public:
    virtual ~IResourceLoadProgress() = default;
    // The fraction of the manifest read, 0 to 1.
    virtual void OnProgress(float fraction) = 0;
    virtual bool ShouldAbort() = 0;
};

class IResourceLoadProgressQuery
{
public:
    virtual ~IResourceLoadProgressQuery() = default;
    // The fraction of the manifest read, 0 to 1.
    virtual float GetResourceLoadPctComplete() const = 0;
};

enum class eLoadingJobStatus : int32_t
{
    Queued = 0,
    Acquiring = 1, // waiting for streamed files
    Loading = 2,
    Complete = 3,
    Failed = -1, // manifest not found, or an error while reading it
    Aborted = -2
};

enum class eLoadType : int32_t
{
    AcquireOnly = 0, // only fetch the data files
    Load = 1         // read the manifest and create its resources
};

// One manifest load as its callers see it: status, progress, byte counts of streamed files, the last
// transfer error, and a reference count (held through boost::intrusive_ptr).
//
// The status only moves forward: once Complete, Failed or Aborted it never changes again, so an abort
// can never be lost to a loader that was about to report progress.
class ILoadingJob : public IResourceLoadProgressQuery,
                    public IDataTransferProgressQuery,
                    public IErrorStatus,
                    public IReferenced
{
public:
    explicit ILoadingJob(const std::wstring& manifest);
    ~ILoadingJob() override;
    ILoadingJob(const ILoadingJob&) = delete;
    ILoadingJob& operator=(const ILoadingJob&) = delete;

    void AddRef() override;
    void Release() override;

    const std::wstring& GetManifest() const { return mManifest; }

    eLoadingJobStatus GetStatus() const;
    // Ignored once the job has finished (Complete, Failed or Aborted).
    void SetStatus(eLoadingJobStatus status);
    // True when the status is Complete or negative.
    bool IsComplete() const;
    // Waits until the job has finished or the time has passed, whichever comes first; IsComplete then.
    bool WaitUntilComplete(unsigned long milliseconds) const;
    // Sets Aborted unless the job is Complete (a Failed job becomes Aborted too).
    void Abort();

    // Marks the job Failed (unless it was aborted; a Complete job fails too) and keeps the message;
    // the first message given is kept.
    void Fail(const std::string& message);
    // Why the job failed; empty when no failure was recorded.
    std::string GetFailureMessage() const;

private:
    std::atomic<int32_t> mRefCount{1};
    mutable std::mutex mStatusMutex;
    // Signalled when the status becomes finished.
    mutable std::condition_variable mFinished;
    const std::wstring mManifest;
    eLoadingJobStatus mStatus = eLoadingJobStatus::Queued;
    std::string mFailureMessage;
};

} // namespace Strata
