#pragma once

// The resource manager's own view of a loading job. Only the manager's sources include this.

#include "core/XMLReader.h"
#include "framework/FileTransfer.h"
#include "framework/ResourceManager.h"

#include <boost/intrusive_ptr.hpp>

#include <list>
#include <mutex>
#include <string>

namespace Strata
{

// One resource of a streamed manifest waiting for its files: a copy of its element and subtree, and
// the transfers it still waits for.
class ResourceManager::ResourceLoadDescriptor : public XMLElementList
{
public:
    using TransferList = std::list<boost::intrusive_ptr<IFileTransfer>>;

    // A fresh copy of `elements`, read from the start.
    explicit ResourceLoadDescriptor(const std::vector<XMLElement>& elements);

    // Forgets every transfer that has finished or failed.
    void RemoveCompletedFiles();
    // Reads the element list again from its start.
    void Rewind();

    TransferList& GetTransfers() { return mTransfers; }

private:
    TransferList mTransfers;
};

// A job as the loader thread works on it. The transfer and descriptor lists and the dirty flag are the
// loader thread's alone; the load count is guarded by the manager's mutex; progress and byte counts by
// the job's progress mutex.
class ResourceManager::LoadingJob final : public ILoadingJob, public IResourceLoadProgress
{
public:
    LoadingJob(const std::wstring& manifest, bool lockFileSystem, eLoadType loadType);
    ~LoadingJob() override;

    float GetResourceLoadPctComplete() const override;
    uint32_t GetDataTransferSize() override;
    uint32_t GetDataTransferNumBytesCopied() override;
    void OnProgress(float fraction) override;
    // True when the job was aborted.
    bool ShouldAbort() override;

    bool GetLockFileSystem() const { return mLockFileSystem; }
    eLoadType GetLoadType() const { return mLoadType; }

    // Guarded by the manager's mutex.
    int mLoadCount = 1;

private:
    friend class ResourceManager;

    // Moves every transfer that has finished or failed out of the transfer list, counting its bytes or
    // copying its error, and marks the job dirty when there was one.
    void CollectFinishedTransfers();
    // Total bytes = completed bytes plus every outstanding transfer's size; copied bytes likewise.
    void UpdateDataTransferProgress();
    void OnTransferComplete(IFileTransfer& transfer);
    void OnTransferError(IFileTransfer& transfer);
    // Asks every outstanding transfer to stop and forgets them all.
    void AbortTransfers();

    ResourceLoadDescriptor::TransferList mTransfers;
    std::list<ResourceLoadDescriptor> mDescriptors;
    mutable std::mutex mProgressMutex;
    const bool mLockFileSystem;
    const eLoadType mLoadType;
    float mLoadProgress = 0.0f;
    uint32_t mCompletedBytes = 0;
    uint32_t mTotalBytes = 0;
    uint32_t mCopiedBytes = 0;
    bool mDirty = false;
};

namespace Internal
{
// The message of the exception being handled.
// Only call it inside a catch block.
std::string DescribeCurrentException();
} // namespace Internal

} // namespace Strata
