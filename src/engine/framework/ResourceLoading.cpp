// Loading jobs and the loader thread's body: queued jobs, streamed files and pending jobs.
#include "framework/ResourceLoading.h"

#include "core/FileAddress.h"
#include "core/Log.h"
#include "core/RuntimeError.h"
#include "framework/FileSource.h"
#include "framework/FileSystemLock.h"
#include "framework/ResourceLoadingJob.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <limits>
#include <memory>

namespace Strata
{

namespace
{

constexpr int kLoadPriority = 100;
constexpr int kAcquireOnlyPriority = 200;
constexpr unsigned long kPendingPollMilliseconds = 10;

bool IsFinished(eLoadingJobStatus status)
{
    return status == eLoadingJobStatus::Complete || static_cast<int32_t>(status) < 0;
}

bool IsStreamingInitialized()
{
    const IStreamable* streamable = GetStreamableFileSource();
    return streamable != nullptr && streamable->IsStreamingInitialized();
}

bool IsTransferDone(IFileTransfer& transfer)
{
    return transfer.GetDataTransferPctComplete() >= 1.0f || transfer.HasErrorOccurred();
}

uint32_t ClampToUInt32(uint64_t value)
{
    return static_cast<uint32_t>(std::min<uint64_t>(value, std::numeric_limits<uint32_t>::max()));
}

} // namespace

std::string Internal::DescribeCurrentException()
{
    try
    {
        throw;
    }
    catch (const std::exception& e)
    {
        return e.what();
    }
    catch (...)
    {
        return "unknown exception";
    }
}

// ---------------------------------------------------------------------------------------------------
// ILoadingJob

ILoadingJob::ILoadingJob(const std::wstring& manifest) : mManifest(manifest)
{
}

ILoadingJob::~ILoadingJob() = default;

void ILoadingJob::AddRef()
{
    mRefCount.fetch_add(1, std::memory_order_relaxed);
}

void ILoadingJob::Release()
{
    if (mRefCount.fetch_sub(1, std::memory_order_acq_rel) == 1)
        delete this;
}

eLoadingJobStatus ILoadingJob::GetStatus() const
{
    std::lock_guard<std::mutex> lock(mStatusMutex);
    return mStatus;
}

void ILoadingJob::SetStatus(eLoadingJobStatus status)
{
    std::lock_guard<std::mutex> lock(mStatusMutex);
    if (!IsFinished(mStatus))
    {
        mStatus = status;
        if (IsFinished(mStatus))
            mFinished.notify_all();
    }
}

bool ILoadingJob::IsComplete() const
{
    return IsFinished(GetStatus());
}

bool ILoadingJob::WaitUntilComplete(unsigned long milliseconds) const
{
    std::unique_lock<std::mutex> lock(mStatusMutex);
    return mFinished.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return IsFinished(mStatus); });
}

void ILoadingJob::Abort()
{
    std::lock_guard<std::mutex> lock(mStatusMutex);
    if (mStatus != eLoadingJobStatus::Complete)
    {
        mStatus = eLoadingJobStatus::Aborted;
        mFinished.notify_all();
    }
}

void ILoadingJob::Fail(const std::string& message)
{
    std::lock_guard<std::mutex> lock(mStatusMutex);
    // A job read from a stream is Complete before its read, and must not stay so when the read fails.
    if (mStatus != eLoadingJobStatus::Aborted)
        mStatus = eLoadingJobStatus::Failed;
    mFinished.notify_all();
    if (mFailureMessage.empty())
        mFailureMessage = message.empty() ? std::string("unknown error") : message;
}

std::string ILoadingJob::GetFailureMessage() const
{
    std::lock_guard<std::mutex> lock(mStatusMutex);
    return mFailureMessage;
}

// ---------------------------------------------------------------------------------------------------
// ResourceLoadDescriptor

ResourceManager::ResourceLoadDescriptor::ResourceLoadDescriptor(const std::vector<XMLElement>& elements)
{
    for (const XMLElement& element : elements)
        AddElement(element);
}

void ResourceManager::ResourceLoadDescriptor::RemoveCompletedFiles()
{
    mTransfers.remove_if([](const boost::intrusive_ptr<IFileTransfer>& transfer) { return IsTransferDone(*transfer); });
}

void ResourceManager::ResourceLoadDescriptor::Rewind()
{
    XMLElementList fresh;
    for (const XMLElement& element : GetElements())
        fresh.AddElement(element);
    XMLElementList::operator=(std::move(fresh));
}

// ---------------------------------------------------------------------------------------------------
// LoadingJob

ResourceManager::LoadingJob::LoadingJob(const std::wstring& manifest, bool lockFileSystem, eLoadType loadType)
    : ILoadingJob(manifest), mLockFileSystem(lockFileSystem), mLoadType(loadType)
{
}

ResourceManager::LoadingJob::~LoadingJob() = default;

float ResourceManager::LoadingJob::GetResourceLoadPctComplete() const
{
    std::lock_guard<std::mutex> lock(mProgressMutex);
    return mLoadProgress;
}

uint32_t ResourceManager::LoadingJob::GetDataTransferSize()
{
    std::lock_guard<std::mutex> lock(mProgressMutex);
    return mTotalBytes;
}

uint32_t ResourceManager::LoadingJob::GetDataTransferNumBytesCopied()
{
    std::lock_guard<std::mutex> lock(mProgressMutex);
    return mCopiedBytes;
}

void ResourceManager::LoadingJob::OnProgress(float fraction)
{
    std::lock_guard<std::mutex> lock(mProgressMutex);
    mLoadProgress = std::clamp(fraction, 0.0f, 1.0f);
}

bool ResourceManager::LoadingJob::ShouldAbort()
{
    return GetStatus() == eLoadingJobStatus::Aborted;
}

void ResourceManager::LoadingJob::UpdateDataTransferProgress()
{
    // The transfers' own locks are taken before the job's, never inside it.
    uint64_t outstandingSize = 0;
    uint64_t outstandingCopied = 0;
    for (const auto& transfer : mTransfers)
    {
        outstandingSize += transfer->GetDataTransferSize();
        outstandingCopied += transfer->GetDataTransferNumBytesCopied();
    }
    std::lock_guard<std::mutex> lock(mProgressMutex);
    mTotalBytes = ClampToUInt32(uint64_t(mCompletedBytes) + outstandingSize);
    mCopiedBytes = ClampToUInt32(uint64_t(mCompletedBytes) + outstandingCopied);
}

void ResourceManager::LoadingJob::CollectFinishedTransfers()
{
    for (auto it = mTransfers.begin(); it != mTransfers.end();)
    {
        IFileTransfer& transfer = **it;
        if (transfer.GetDataTransferPctComplete() >= 1.0f)
        {
            OnTransferComplete(transfer);
            it = mTransfers.erase(it);
            mDirty = true;
        }
        else if (transfer.HasErrorOccurred())
        {
            // The resource waiting for it is still made; its factory meets the missing file itself.
            OnTransferError(transfer);
            it = mTransfers.erase(it);
            mDirty = true;
        }
        else
        {
            ++it;
        }
    }
}

void ResourceManager::LoadingJob::OnTransferComplete(IFileTransfer& transfer)
{
    const uint32_t size = transfer.GetDataTransferSize();
    std::lock_guard<std::mutex> lock(mProgressMutex);
    mCompletedBytes = ClampToUInt32(uint64_t(mCompletedBytes) + size);
}

void ResourceManager::LoadingJob::OnTransferError(IFileTransfer& transfer)
{
    SetLastError(transfer.GetLastError());
}

void ResourceManager::LoadingJob::AbortTransfers()
{
    // A transfer may finish after this pass collected the finished ones; a finished one is left alone.
    for (const auto& transfer : mTransfers)
        if (!IsTransferDone(*transfer))
            transfer->Abort();
    mTransfers.clear();
    mDescriptors.clear();
}

// ---------------------------------------------------------------------------------------------------
// The loader thread

void ResourceManager::Execute()
{
    while (!ShouldQuit())
    {
        // Each job catches its own errors; anything else is logged and the loader goes on, so no
        // waiting caller is left with a job nobody will finish.
        try
        {
            RunLoaderPass();
        }
        catch (...)
        {
            Internal::LogWrite("The resource loader met an error: %s\n", Internal::DescribeCurrentException().c_str());
            Sleep(kPendingPollMilliseconds);
        }
    }
}

void ResourceManager::RunLoaderPass()
{
    bool idle = false;
    {
        ScopedLock lock(mMutex);
        if (ShouldQuit())
            return;
        idle = mQueuedJobs.empty() && mPendingJobs.empty();
    }
    // The signal latches, so a job queued between the test above and this wait is not missed.
    if (idle)
        mSignal->Wait();
    if (ShouldQuit())
        return;

    while (true)
    {
        JobPtr job;
        {
            ScopedLock lock(mMutex);
            if (mQueuedJobs.empty() || ShouldQuit())
                break;
            job = mQueuedJobs.front();
        }
        ProcessQueuedJob(job);
        ScopedLock lock(mMutex);
        mQueuedJobs.remove(job);
    }

    ProcessPendingJobs();

    bool pending = false;
    {
        ScopedLock lock(mMutex);
        pending = !mPendingJobs.empty();
    }
    // Polling only while jobs wait for transfers; otherwise the signal wakes the loader.
    if (pending && !ShouldQuit())
        Sleep(kPendingPollMilliseconds);
}

void ResourceManager::ProcessQueuedJob(const JobPtr& job)
{
    try
    {
        if (job->ShouldAbort())
            return;
        if (IsStreamingInitialized() && AcquireFiles(*job))
        {
            job->SetStatus(eLoadingJobStatus::Acquiring);
            job->mDirty = true;
            AddPendingLoad(job);
        }
        else if (job->IsComplete())
        {
            // Aborted, or its manifest was missing while its files were listed.
        }
        else if (job->GetLoadType() == eLoadType::AcquireOnly)
        {
            job->SetStatus(eLoadingJobStatus::Complete);
        }
        else
        {
            job->SetStatus(eLoadingJobStatus::Loading);
            RunManifestPass(*job, false);
        }
    }
    catch (...)
    {
        const std::string message = Internal::DescribeCurrentException();
        Internal::LogWrite("Resource file %ls failed: %s\n", job->GetManifest().c_str(), message.c_str());
        job->Fail(message);
        job->AbortTransfers();
        RemovePendingLoad(job.get());
    }
}

void ResourceManager::AddPendingLoad(const JobPtr& job)
{
    ScopedLock lock(mMutex);
    mPendingJobs.push_back(job);
}

void ResourceManager::RemovePendingLoad(const LoadingJob* job)
{
    ScopedLock lock(mMutex);
    mPendingJobs.remove_if([job](const JobPtr& pending) { return pending.get() == job; });
}

void ResourceManager::ProcessPendingJobs()
{
    std::list<JobPtr> pending;
    {
        ScopedLock lock(mMutex);
        pending = mPendingJobs;
    }
    for (const JobPtr& job : pending)
    {
        if (ShouldQuit())
            return;
        bool finished = false;
        try
        {
            finished = ProcessPendingJob(*job);
        }
        catch (...)
        {
            const std::string message = Internal::DescribeCurrentException();
            Internal::LogWrite("Resource file %ls failed: %s\n", job->GetManifest().c_str(), message.c_str());
            job->Fail(message);
            job->AbortTransfers();
            finished = true;
        }
        if (finished)
            RemovePendingLoad(job.get());
    }
}

bool ResourceManager::ProcessPendingJob(LoadingJob& job)
{
    if (job.ShouldAbort())
    {
        job.AbortTransfers();
        return true;
    }

    job.CollectFinishedTransfers();
    job.UpdateDataTransferProgress();

    if (job.mDirty && job.GetLoadType() == eLoadType::Load)
    {
        job.mDirty = false;
        const std::wstring& manifest = job.GetManifest();
        for (auto it = job.mDescriptors.begin(); it != job.mDescriptors.end() && !job.ShouldAbort();)
        {
            it->RemoveCompletedFiles();
            if (!it->GetTransfers().empty())
            {
                ++it;
                continue;
            }
            it->Rewind();
            it->ReadElement();
            std::shared_ptr<IResourceDescriptor> descriptor(LoadResource(manifest.c_str(), *it));
            if (descriptor)
            {
                const Label name = descriptor->GetName();
                StoreResource(name, std::move(descriptor), job);
            }
            it = job.mDescriptors.erase(it);
        }
    }
    if (job.ShouldAbort())
    {
        job.AbortTransfers();
        return true;
    }

    if (job.GetLoadType() == eLoadType::AcquireOnly)
    {
        if (job.mTransfers.empty())
        {
            job.SetStatus(eLoadingJobStatus::Complete);
            return true;
        }
        return false;
    }
    if (job.mDescriptors.empty())
    {
        // A transfer that finished after the count above may already have let its resource be made:
        // it is counted now, so a complete job reports all its bytes and every transfer error.
        job.CollectFinishedTransfers();
        job.UpdateDataTransferProgress();
        // Resources made from streamed files stay; every other element is created now.
        job.SetStatus(eLoadingJobStatus::Loading);
        RunManifestPass(job, true);
        return true;
    }
    return false;
}

bool ResourceManager::AcquireFiles(LoadingJob& job)
{
    bool found = false;
    bool started = false;
    {
        FileSystemLock fileSystemLock(job.GetLockFileSystem());
        const ResourceFileStream stream(job.GetManifest(), L".xml");
        if (stream.Get() != nullptr)
        {
            found = true;
            started = AcquireFilesFromManifest(job, *stream.Get());
        }
    }
    // Reported once the file system lock is let go.
    if (!found)
        job.SetStatus(eLoadingJobStatus::Failed);
    return started;
}

bool ResourceManager::AcquireFilesFromManifest(LoadingJob& job, IStream& stream)
{
    IStreamable* streamable = GetStreamableFileSource();
    if (streamable == nullptr)
        return false;
    const std::wstring& manifest = job.GetManifest();
    const int priority = job.GetLoadType() == eLoadType::Load ? kLoadPriority : kAcquireOnlyPriority;
    bool started = false;
    std::unique_ptr<IXMLReader> reader = CreateXMLReader(&stream);
    while (!reader->IsEOF())
    {
        const XMLElement* element = reader->ReadElement();
        if (element == nullptr)
            break;
        if (!element->IsStartElement() || element->GetName() == L"alias" || element->GetAttribute(L"name").empty())
            continue;
        const IResourceFactory* factory = nullptr;
        {
            ScopedLock lock(mMutex);
            const auto registered = mFactories.find(element->GetName());
            factory = registered != mFactories.end() ? registered->second : nullptr;
        }
        if (factory == nullptr)
            continue;

        XMLElementList elements;
        XMLElementReader subtree(reader.get());
        CopyAllElements(subtree, &elements);
        if (elements.GetElements().empty())
            continue;
        const XMLElement& copied = elements.GetElements().front();
        std::list<FileVariant> files;
        factory->GetFileListForResource(&files, manifest, Label::FromString(copied.GetAttribute(L"name")), copied,
                                        elements);

        ResourceLoadDescriptor descriptor(elements.GetElements());
        for (const FileVariant& variant : files)
        {
            for (const std::wstring& extension : variant.extensions)
            {
                const FileAddress address(variant.name.c_str(), extension.c_str());
                boost::intrusive_ptr<IFileTransfer> transfer = streamable->Acquire(address, priority);
                if (!transfer)
                    continue;
                if (std::find(job.mTransfers.begin(), job.mTransfers.end(), transfer) == job.mTransfers.end())
                    job.mTransfers.push_back(transfer);
                descriptor.GetTransfers().push_back(transfer);
                started = true;
            }
        }
        if (job.GetLoadType() == eLoadType::Load && !files.empty())
            job.mDescriptors.push_back(std::move(descriptor));
        if (ShouldQuit() || job.ShouldAbort())
            break;
    }
    if (!started)
        job.mDescriptors.clear();
    return started;
}

} // namespace Strata
