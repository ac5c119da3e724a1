#include "framework/ResourceManager.h"

#include "core/AttributeContainer.h"
#include "core/Log.h"
#include "core/RuntimeError.h"
#include "core/Singleton.h"
#include "core/WideString.h"
#include "core/XMLReader.h"
#include "framework/FileSystemLock.h"
#include "framework/ResourceLoadingJob.h"

#include <mutex>
#include <utility>

namespace Strata
{

namespace
{

std::atomic<ResourceManager*> gResourceManager{nullptr};
std::mutex gCreationMutex;

constexpr unsigned long kLoadPollMilliseconds = 5;
constexpr unsigned long kLoaderStopPollMilliseconds = 2;

const std::wstring kAliasTag = L"alias";

[[noreturn]] void ThrowDuplicate(const std::wstring& existingManifest, const std::wstring& manifest, Label name,
                                 const char* file, int line, const char* function)
{
    const std::wstring message = L"The manifests '" + existingManifest + L"' and '" + manifest +
                                 L"' both contain a resource named '" + ConvertStringASCIIToWide(name.c_str()) + L"'.";
    throw RuntimeError(message, file, line, function);
}

} // namespace

void IResourceFactory::GetFileListForResource(std::list<FileVariant>*, const std::wstring&, Label,
                                              const IAttributeContainer&, IXMLReader&) const
{
}

ResourceManager::ResourceManager() : mMutex(CreateMutex()), mSignal(nullptr), mThread(nullptr)
{
    try
    {
        mSignal = CreateThreadSignal();
        // Last: the thread runs Execute at once and needs everything above.
        mThread = CreateThread(this, ThreadFlags_StartImmediately);
    }
    catch (...)
    {
        delete mSignal;
        delete mMutex;
        throw;
    }
    gResourceManager.store(this);
}

ResourceManager::~ResourceManager()
{
    StopLoader();
    for (auto& [tag, factory] : mFactories)
        delete factory;
    mFactories.clear();
    ResourceTable resources;
    {
        ScopedLock lock(mMutex);
        resources.swap(mResources);
        mQueuedJobs.clear();
        mPendingJobs.clear();
        mJobs.clear();
    }
    resources.clear();
    ResourceManager* self = this;
    gResourceManager.compare_exchange_strong(self, nullptr);
    delete mThread;
    delete mSignal;
    delete mMutex;
}

void ResourceManager::AddResourceFactory(const wchar_t* tag, IResourceFactory* factory)
{
    if (tag == nullptr || factory == nullptr)
    {
        delete factory;
        return;
    }
    IResourceFactory* previous = nullptr;
    {
        ScopedLock lock(mMutex);
        IResourceFactory*& slot = mFactories[tag];
        previous = slot;
        slot = factory;
    }
    delete previous;
}

boost::intrusive_ptr<ILoadingJob> ResourceManager::LoadAsync(const wchar_t* manifest, bool lockFileSystem)
{
    if (manifest == nullptr || *manifest == L'\0')
        STRATA_THROW(RuntimeError, "A manifest name is needed to load resources.");
    ScopedLock lock(mMutex);
    const auto found = mJobs.find(manifest);
    if (found != mJobs.end())
    {
        ++found->second->mLoadCount;
        return found->second.get();
    }
    // Adopts the creator's reference.
    const JobPtr job(new LoadingJob(manifest, lockFileSystem, eLoadType::Load), false);
    mJobs.emplace(manifest, job);
    if (ShouldQuit())
    {
        job->Fail("The resource manager has been shut down.");
    }
    else
    {
        mQueuedJobs.push_back(job);
        mSignal->Signal();
    }
    return job.get();
}

boost::intrusive_ptr<ILoadingJob> ResourceManager::Load(const wchar_t* manifest, IResourceLoadProgress* progress,
                                                        bool lockFileSystem)
{
    boost::intrusive_ptr<ILoadingJob> job = LoadAsync(manifest, lockFileSystem);
    while (!job->IsComplete())
    {
        if (progress != nullptr)
        {
            if (progress->ShouldAbort())
                job->Abort();
            progress->OnProgress(job->GetResourceLoadPctComplete());
        }
        // Woken at once when the job finishes; the timeout only paces the progress and abort checks.
        job->WaitUntilComplete(kLoadPollMilliseconds);
    }
    return job;
}

void ResourceManager::LoadFromStream(IStream* stream, const wchar_t* manifest, IResourceLoadProgress* progress,
                                     bool lockFileSystem)
{
    if (manifest == nullptr || *manifest == L'\0')
        STRATA_THROW(RuntimeError, "A manifest name is needed to load resources.");
    if (stream == nullptr)
        STRATA_THROW(RuntimeError, "LoadFromStream needs an open stream.");
    JobPtr job;
    {
        ScopedLock lock(mMutex);
        const auto found = mJobs.find(manifest);
        if (found != mJobs.end())
        {
            ++found->second->mLoadCount;
            return;
        }
        job.reset(new LoadingJob(manifest, lockFileSystem, eLoadType::Load), false);
        // Complete before the read: a factory on this thread that loads the same manifest must not
        // wait for a read that only its own return can finish.
        job->SetStatus(eLoadingJobStatus::Complete);
        mJobs.emplace(manifest, job);
    }
    Internal::LogDetail("Loading resource file: %ls\n", manifest);
    bool completed = false;
    try
    {
        FileSystemLock fileSystemLock(lockFileSystem);
        PassOptions options;
        options.progress = progress;
        completed = ReadManifest(*CreateXMLReader(stream), manifest, *job, options);
    }
    catch (...)
    {
        job->Fail(Internal::DescribeCurrentException());
        throw;
    }
    if (completed)
        job->OnProgress(1.0f);
}

void ResourceManager::Unload(const wchar_t* manifest)
{
    if (manifest == nullptr)
        return;
    ResourceTable removed;
    JobPtr job;
    {
        ScopedLock lock(mMutex);
        const auto found = mJobs.find(manifest);
        if (found == mJobs.end())
            return;
        if (--found->second->mLoadCount >= 1)
            return;
        Internal::LogDetail("Unloading resource file: %ls\n", manifest);
        job = found->second;
        mJobs.erase(found);
        // Aliases follow their descriptor: an alias to this manifest's resource goes, this manifest's
        // alias to another manifest's resource stays.
        for (auto it = mResources.begin(); it != mResources.end();)
        {
            if (it->second->GetManifest() == manifest)
            {
                removed.insert(*it);
                it = mResources.erase(it);
            }
            else
            {
                ++it;
            }
        }
    }
    // A load still under way must not go on adding resources to a manifest nobody holds.
    job->Abort();
    // The descriptors are released here, outside the lock.
}

std::shared_ptr<IResourceDescriptor> ResourceManager::GetResource(Label name) const
{
    ScopedLock lock(mMutex);
    const auto found = mResources.find(name);
    return found != mResources.end() ? found->second : nullptr;
}

int ResourceManager::GetLoadCount(const std::wstring& manifest) const
{
    ScopedLock lock(mMutex);
    const auto found = mJobs.find(manifest);
    return found != mJobs.end() ? found->second->mLoadCount : 0;
}

IResourceDescriptor* ResourceManager::LoadResource(const wchar_t* manifest, IXMLReader& reader)
{
    const XMLElement* element = reader.GetCurrentElement();
    if (element == nullptr || !element->IsStartElement())
        return nullptr;
    const std::wstring& nameText = element->GetAttribute(L"name", L"");
    return MakeResource(manifest, reader, *element, nameText.empty() ? Label() : Label(nameText.c_str()));
}

IResourceDescriptor* ResourceManager::MakeResource(const wchar_t* manifest, IXMLReader& reader,
                                                   const XMLElement& element, Label name)
{
    const IResourceFactory* factory = nullptr;
    {
        ScopedLock lock(mMutex);
        const auto found = mFactories.find(element.GetName());
        if (found == mFactories.end())
            return nullptr;
        factory = found->second;
    }
    // The attributes are copied: the element itself changes as the factory reads on.
    const AttributeContainer attributes(element.GetAttributes());
    XMLElementReader subtree(&reader);
    return factory->CreateResource(manifest != nullptr ? manifest : L"", name, attributes, subtree);
}

void ResourceManager::Cleanup()
{
    StopLoader();
    ResourceTable resources;
    {
        ScopedLock lock(mMutex);
        resources.swap(mResources);
    }
}

void ResourceManager::StopLoader()
{
    {
        ScopedLock lock(mMutex);
        for (const JobPtr& job : mQueuedJobs)
            job->Abort();
        for (const JobPtr& job : mPendingJobs)
            job->Abort();
        mQuit.store(true);
        mSignal->Signal();
    }
    if (mThread == nullptr)
        return;
    while (mThread->GetState() == ThreadState_Running)
        Sleep(kLoaderStopPollMilliseconds);
    // Pending jobs hold transfers; a job left behind would keep them alive with the manager.
    std::list<JobPtr> pending;
    {
        ScopedLock lock(mMutex);
        pending.swap(mPendingJobs);
    }
    for (const JobPtr& job : pending)
        job->AbortTransfers();
}

void ResourceManager::RunManifestPass(LoadingJob& job, bool keepExisting)
{
    const std::wstring& manifest = job.GetManifest();
    Internal::LogDetail("Loading resource file: %ls\n", manifest.c_str());
    eLoadingJobStatus outcome = eLoadingJobStatus::Loading;
    {
        // The job is reported finished only once the file system lock and the stream are let go.
        FileSystemLock fileSystemLock(job.GetLockFileSystem());
        const ResourceFileStream stream(manifest, L".xml");
        if (stream.Get() == nullptr)
        {
            outcome = eLoadingJobStatus::Failed;
        }
        else
        {
            PassOptions options;
            options.keepExisting = keepExisting;
            options.progress = &job;
            options.askAbort = true;
            if (ReadManifest(*CreateXMLReader(stream.Get()), manifest, job, options))
                outcome = eLoadingJobStatus::Complete;
        }
    }
    if (outcome == eLoadingJobStatus::Complete)
    {
        // Text after the last element may leave the reader's own figure short of the end, and a
        // finished job must not show an unfinished bar.
        job.OnProgress(1.0f);
    }
    job.SetStatus(outcome);
}

bool ResourceManager::ReadManifest(IXMLReader& reader, const std::wstring& manifest, ILoadingJob& job,
                                   const PassOptions& options)
{
    while (!reader.IsEOF())
    {
        const XMLElement* element = reader.ReadElement();
        if (element == nullptr)
            break;
        bool report = true;
        if (element->IsStartElement())
        {
            report = false;
            const std::wstring nameText = element->GetAttribute(L"name");
            if (!nameText.empty())
            {
                const Label name(nameText.c_str());
                const bool isAlias = element->GetName() == kAliasTag;
                bool skip = false;
                if (!isAlias)
                {
                    std::shared_ptr<IResourceDescriptor> present;
                    {
                        ScopedLock lock(mMutex);
                        const auto found = mResources.find(name);
                        if (found != mResources.end())
                        {
                            if (found->second->GetManifest() != manifest)
                            {
                                ThrowDuplicate(found->second->GetManifest(), manifest, name, __FILE__, __LINE__,
                                               __func__);
                            }
                            if (options.keepExisting)
                            {
                                skip = true;
                            }
                            else if (IsCurrentJob(manifest, job))
                            {
                                present = std::move(found->second);
                                mResources.erase(found);
                            }
                        }
                    }
                    // `present` is released here, outside the lock.
                }
                if (skip)
                {
                    // Made already from streamed files.
                }
                else if (isAlias)
                {
                    const std::wstring source = element->GetAttribute(L"src");
                    const Label sourceName = source.empty() ? Label() : Label(source.c_str());
                    ScopedLock lock(mMutex);
                    const auto found = mResources.find(sourceName);
                    if (found != mResources.end() && IsCurrentJob(manifest, job))
                        mResources[name] = found->second;
                    report = true;
                }
                else
                {
                    // The name is made into a label once, here, and handed on.
                    std::shared_ptr<IResourceDescriptor> descriptor(
                        MakeResource(manifest.c_str(), reader, *element, name));
                    if (descriptor)
                    {
                        StoreResource(name, std::move(descriptor), job);
                        report = true;
                    }
                }
            }
        }
        if (report)
        {
            if (options.progress != nullptr)
                options.progress->OnProgress(reader.GetProgress());
            if ((options.askAbort && options.progress != nullptr && options.progress->ShouldAbort()) ||
                job.GetStatus() == eLoadingJobStatus::Aborted || ShouldQuit())
                return false;
        }
    }
    return true;
}

void ResourceManager::StoreResource(Label name, std::shared_ptr<IResourceDescriptor> descriptor, const ILoadingJob& job)
{
    const std::wstring manifest = job.GetManifest();
    std::shared_ptr<IResourceDescriptor> replaced;
    {
        ScopedLock lock(mMutex);
        if (!IsCurrentJob(manifest, job))
            return;
        auto found = mResources.find(name);
        if (found == mResources.end())
        {
            mResources.emplace(name, std::move(descriptor));
            return;
        }
        // Checked again here: another manifest may have taken the name while the factory ran, and
        // resources made from streamed files meet their first check here.
        if (found->second->GetManifest() != manifest)
            ThrowDuplicate(found->second->GetManifest(), manifest, name, __FILE__, __LINE__, __func__);
        replaced = std::move(found->second);
        found->second = std::move(descriptor);
    }
}

bool ResourceManager::IsCurrentJob(const std::wstring& manifest, const ILoadingJob& job) const
{
    ScopedLock lock(mMutex);
    const auto found = mJobs.find(manifest);
    return found != mJobs.end() && found->second.get() == &job;
}

bool IsResourceManagerCreated()
{
    return gResourceManager.load() != nullptr;
}

ResourceManager* GetResourceManager()
{
    ResourceManager* manager = gResourceManager.load();
    if (manager != nullptr)
        return manager;
    std::lock_guard<std::mutex> lock(gCreationMutex);
    manager = gResourceManager.load();
    if (manager == nullptr)
    {
        manager = new ResourceManager();
        AutoDeleteSingleton(manager);
    }
    return manager;
}

} // namespace Strata
