#pragma once

#include "core/Label.h"
#include "core/Threading.h"
#include "framework/ResourceLoading.h"

#include <boost/intrusive_ptr.hpp>

#include <atomic>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace Strata
{

class IAttributeContainer;
class IStream;
class IXMLReader;
class XMLElement;

// A data file a resource may need when files are streamed: a name and the extensions it may have.
struct FileVariant
{
    std::wstring name;
    std::list<std::wstring> extensions;
};

// What every resource factory returns: a resource that knows its manifest and its name.
class IResourceDescriptor
{
public:
    virtual ~IResourceDescriptor() = default;
    virtual std::wstring GetManifest() const = 0;
    virtual Label GetName() const = 0;
};

// Builds the resources of one manifest element tag. Factories run on the loader thread (or the caller's
// thread for LoadFromStream) and must not touch main-thread state. A factory may throw: the job that
// called it ends Failed with the error's message.
class IResourceFactory
{
public:
    virtual ~IResourceFactory() = default;
    // A new descriptor that the manager then owns, or null for none. `element` delivers the element
    // and its subtree; what the factory reads belongs to the resource.
    virtual IResourceDescriptor* CreateResource(const std::wstring& manifest, Label name,
                                                const IAttributeContainer& attributes, IXMLReader& element) const = 0;
    // Appends the data files the resource needs when files are streamed. By default none.
    virtual void GetFileListForResource(std::list<FileVariant>* files, const std::wstring& manifest, Label name,
                                        const IAttributeContainer& attributes, IXMLReader& element) const;
};

// The process-wide registry of loaded resources, read from XML manifests on a loader thread.
//
// Every manifest is loaded through one reference-counted job kept in the job table with its load
// count. One mutex guards the resource table, the job table, the queued and pending job lists and the
// quit flag; it is never held while a factory runs or while the file system is used, so the manager
// may be used from the main thread, the loading mode's worker thread and the factories alike.
class ResourceManager : public IEntryPoint
{
public:
    class LoadingJob;
    class ResourceLoadDescriptor;

    // Becomes the global manager and starts the loader thread. Throws RuntimeError when the thread
    // cannot be made.
    ResourceManager();
    // Stops the loader thread when Cleanup has not, then deletes the factories and the resources.
    ~ResourceManager() override;
    ResourceManager(const ResourceManager&) = delete;
    ResourceManager& operator=(const ResourceManager&) = delete;

    // Registers `factory` for `tag` (case-sensitive), deleting any factory registered before it. The
    // manager owns the factory. Register factories before loading starts. A null tag or factory is
    // ignored (the factory is deleted).
    void AddResourceFactory(const wchar_t* tag, IResourceFactory* factory);

    // Queues a load of the manifest (the file `manifest`.xml) on the loader thread, or, when the
    // manifest is already in the job table, raises its load count and returns the job it has, whatever
    // its state. After Cleanup the new job is returned already Failed. Throws RuntimeError for a null
    // or empty manifest name.
    boost::intrusive_ptr<ILoadingJob> LoadAsync(const wchar_t* manifest, bool lockFileSystem = false);
    // LoadAsync, then waits until the job has finished (looking every 5 ms meanwhile), reporting to `progress` and
    // aborting the job when `progress` asks to. Returns the job: its status tells whether it worked.
    boost::intrusive_ptr<ILoadingJob> Load(const wchar_t* manifest, IResourceLoadProgress* progress = nullptr,
                                           bool lockFileSystem = false);
    // Reads a manifest from an open stream on the caller's thread (neither opened nor closed here).
    // When the manifest is already loaded it only raises its load count. Errors (a name defined by
    // another manifest, a factory's error, a damaged document) are thrown to the caller after the job
    // has been marked Failed; resources created before the error stay loaded under the manifest.
    // Throws RuntimeError for a null stream or an empty manifest name, changing nothing.
    void LoadFromStream(IStream* stream, const wchar_t* manifest, IResourceLoadProgress* progress = nullptr,
                        bool lockFileSystem = false);
    // Lowers the manifest's load count; at 0 the manifest leaves the job table, its job is aborted if
    // still running, and every resource it made (aliases to them included) leaves the resource table.
    // Handles already given out keep their resources alive. A manifest that is not loaded is ignored.
    void Unload(const wchar_t* manifest);

    // The resource of that name, or null.
    std::shared_ptr<IResourceDescriptor> GetResource(Label name) const;
    // 0 when the manifest is not loaded.
    int GetLoadCount(const std::wstring& manifest) const;

    // Creates one resource from the reader's current start element with the factory of its tag; null
    // when the element is no start element, its tag has no factory, or the factory makes none. A
    // factory's error passes through.
    IResourceDescriptor* LoadResource(const wchar_t* manifest, IXMLReader& reader);

    // Aborts every queued and pending job, stops the loader thread (waiting for it) and empties the
    // resource table. Later loads fail at once.
    void Cleanup();

    // The loader thread's body.
    void Execute() override;

private:
    using JobPtr = boost::intrusive_ptr<LoadingJob>;
    using ResourceTable = std::unordered_map<Label, std::shared_ptr<IResourceDescriptor>>;

    // How a manifest walk reports and when it stops.
    struct PassOptions
    {
        bool keepExisting = false;
        IResourceLoadProgress* progress = nullptr; // told the reader's progress; may be null
        bool askAbort = false;                     // stop when `progress` asks to
    };

    void StopLoader();
    void RunLoaderPass();
    void ProcessQueuedJob(const JobPtr& job);
    void ProcessPendingJobs();
    // True when the job is finished with (complete, failed or aborted) and leaves the pending list.
    bool ProcessPendingJob(LoadingJob& job);
    // Asks the file source for every file the manifest's resources need; true when a transfer started.
    // A missing manifest fails the job.
    bool AcquireFiles(LoadingJob& job);
    bool AcquireFilesFromManifest(LoadingJob& job, IStream& stream);
    void AddPendingLoad(const JobPtr& job);
    void RemovePendingLoad(const LoadingJob* job);
    void RunManifestPass(LoadingJob& job, bool keepExisting);
    // Walks the manifest; true when it reached the end of the document.
    bool ReadManifest(IXMLReader& reader, const std::wstring& manifest, ILoadingJob& job, const PassOptions& options);
    // Stores the resource under `name` when `job` is still the manifest's current job; otherwise the
    // descriptor is dropped. A name held by another manifest throws the duplicate error instead.
    void StoreResource(Label name, std::shared_ptr<IResourceDescriptor> descriptor, const ILoadingJob& job);
    bool IsCurrentJob(const std::wstring& manifest, const ILoadingJob& job) const;
    // LoadResource for a start element whose name the caller has already made into a label.
    IResourceDescriptor* MakeResource(const wchar_t* manifest, IXMLReader& reader, const XMLElement& element,
                                      Label name);
    bool ShouldQuit() const { return mQuit.load(); }

    IMutex* mMutex;
    IThreadSignal* mSignal;
    IThread* mThread;
    std::map<std::wstring, IResourceFactory*> mFactories;
    ResourceTable mResources;
    std::list<JobPtr> mQueuedJobs;
    std::list<JobPtr> mPendingJobs;
    std::map<std::wstring, JobPtr> mJobs;
    std::atomic<bool> mQuit{false};
};

// The global manager, created (and its loader thread started) on first use and deleted with the
// engine's singletons.
ResourceManager* GetResourceManager();
// True once the manager exists (and until it is deleted); never creates it.
bool IsResourceManagerCreated();

} // namespace Strata
