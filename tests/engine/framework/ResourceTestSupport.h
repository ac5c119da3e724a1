#pragma once

// Seams for the resource manager's tests: a file source over strings with scripted transfers, a
// recording factory, and a fixture that gives each test its own manager and loader thread.

#include "core/FileAddress.h"
#include "core/MemoryStream.h"
#include "core/Singleton.h"
#include "core/Threading.h"
#include "core/WideString.h"
#include "core/XMLReader.h"
#include "framework/FileSource.h"
#include "framework/FileTransfer.h"
#include "framework/MainLoop.h"
#include "framework/ResourceDescriptor.h"
#include "framework/ResourceManager.h"

#include "support/WaitUntil.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace Strata::Testing
{

// A download driven by the test: it completes or fails when told to.
class ScriptedTransfer final : public IFileTransfer
{
public:
    ScriptedTransfer(const std::wstring& id, uint32_t size) : mID(Label::FromString(id)), mSize(size) {}

    uint32_t GetDataTransferSize() override
    {
        std::lock_guard<std::mutex> lock(mMutex);
        return mSize;
    }
    uint32_t GetDataTransferNumBytesCopied() override
    {
        std::lock_guard<std::mutex> lock(mMutex);
        return mCopied;
    }
    void Abort() override { mAborted = true; }
    Label GetID() override { return mID; }
    void AddRef() override { mRefs.fetch_add(1); }
    void Release() override
    {
        if (mRefs.fetch_sub(1) == 1)
            delete this;
    }

    void Copy(uint32_t bytes)
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mCopied = std::min(mSize, mCopied + bytes);
    }
    void Complete() { Copy(mSize); }
    void Fail(int code) { SetLastError(code); }
    bool WasAborted() const { return mAborted.load(); }

private:
    ~ScriptedTransfer() override = default;

    std::atomic<int> mRefs{1};
    std::atomic<bool> mAborted{false};
    std::mutex mMutex;
    const Label mID;
    const uint32_t mSize;
    uint32_t mCopied = 0;
};

using TransferPtr = boost::intrusive_ptr<ScriptedTransfer>;

// Files kept as strings, registered as the file source for its lifetime. With streaming on, Acquire
// hands out the transfer scripted for a file (once), and null for every other file.
class MemoryFileSource final : public IFileSource, public IStreamable
{
public:
    MemoryFileSource() { RegisterSingleton(static_cast<IFileSource*>(this)); }
    ~MemoryFileSource() override
    {
        if (GetFileSource() == this)
            RegisterSingleton(static_cast<IFileSource*>(nullptr));
    }

    void AddFile(const std::wstring& nameAndExtension, const std::string& bytes)
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mFiles[nameAndExtension] = bytes;
    }
    void RemoveFile(const std::wstring& nameAndExtension)
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mFiles.erase(nameAndExtension);
    }
    int GetOpenCount(const std::wstring& nameAndExtension)
    {
        std::lock_guard<std::mutex> lock(mMutex);
        return mOpens[nameAndExtension];
    }

    TransferPtr ScriptTransfer(const std::wstring& nameAndExtension, uint32_t size = 100)
    {
        TransferPtr transfer(new ScriptedTransfer(nameAndExtension, size), false);
        std::lock_guard<std::mutex> lock(mMutex);
        mTransfers[nameAndExtension] = transfer;
        return transfer;
    }
    // Every Acquire so far: file and priority.
    std::vector<std::pair<std::wstring, int>> GetAcquired()
    {
        std::lock_guard<std::mutex> lock(mMutex);
        return mAcquired;
    }
    void SetStreaming(bool streaming) { mStreaming = streaming; }

    IStream* OpenFileStream(const FileAddress& address) const override
    {
        const std::wstring key = std::wstring(address.GetName()) + address.GetExtension();
        std::lock_guard<std::mutex> lock(mMutex);
        const auto found = mFiles.find(key);
        if (found == mFiles.end())
            return nullptr;
        ++mOpens[key];
        auto* stream = new MemoryStream(key);
        stream->Write(found->second.data(), found->second.size());
        stream->Seek(SeekOrigin_Begin, 0);
        return stream;
    }

    int GetFileStatus(const FileAddress&) const override { return 0; }
    boost::intrusive_ptr<IFileTransfer> Acquire(const FileAddress& address, int priority) override
    {
        const std::wstring key = std::wstring(address.GetName()) + address.GetExtension();
        std::lock_guard<std::mutex> lock(mMutex);
        mAcquired.emplace_back(key, priority);
        const auto found = mTransfers.find(key);
        if (found == mTransfers.end())
            return nullptr;
        boost::intrusive_ptr<IFileTransfer> transfer(found->second.get());
        mTransfers.erase(found);
        return transfer;
    }
    bool IsStreamingInitialized() const override { return mStreaming.load(); }
    void InitializeStreaming(const std::wstring&) override { mStreaming = true; }

private:
    mutable std::mutex mMutex;
    std::map<std::wstring, std::string> mFiles;
    mutable std::map<std::wstring, int> mOpens;
    std::map<std::wstring, TransferPtr> mTransfers;
    std::vector<std::pair<std::wstring, int>> mAcquired;
    std::atomic<bool> mStreaming{false};
};

// A resource of the recording factory; "value" is kept as text.
struct TestResource
{
    std::wstring value;
    virtual ~TestResource() = default;
};

// A gate a factory waits at until the test opens it.
class Gate
{
public:
    void Arrive()
    {
        std::unique_lock<std::mutex> lock(mMutex);
        mArrived = true;
        mChanged.notify_all();
        mChanged.wait(lock, [this] { return mOpen; });
    }
    // False when nobody arrived within the time-out.
    bool WaitForArrival(std::chrono::seconds timeout = std::chrono::seconds(10))
    {
        std::unique_lock<std::mutex> lock(mMutex);
        return mChanged.wait_for(lock, timeout, [this] { return mArrived; });
    }
    void Open()
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mOpen = true;
        mChanged.notify_all();
    }

private:
    std::mutex mMutex;
    std::condition_variable mChanged;
    bool mArrived = false;
    bool mOpen = false;
};

// A label keeps the spelling first interned in the process, maybe by another test: names are
// compared in lower case.
inline std::string LowerName(Label name)
{
    std::string lower(name.c_str());
    for (char& c : lower)
        c = static_cast<char>(AsciiToLower(static_cast<unsigned char>(c)));
    return lower;
}

// What the recording factories saw (names in lower case), shared with the test.
struct FactoryLog
{
    std::vector<std::string> Created()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return created;
    }
    void Add(const std::string& name)
    {
        std::lock_guard<std::mutex> lock(mutex);
        created.push_back(name);
    }

    // A gate the factory waits at before making `name`; it lives as long as the factory.
    std::shared_ptr<Gate> AddGate(const std::string& name)
    {
        auto gate = std::make_shared<Gate>();
        gates[name] = gate;
        return gate;
    }

    std::mutex mutex;
    std::vector<std::string> created;
    // Set up before loading starts; read-only while the loader runs.
    std::set<std::string> throwFor;
    std::map<std::string, std::shared_ptr<Gate>> gates;
};

// Makes a ResourceWrapper<TestResource> per element. "files" lists "name.ext" data files for
// streaming, separated by ';'. Throws for names in the log's throwFor set, waits at a gate for names in
// its gates map.
class RecordingFactory final : public IResourceFactory
{
public:
    explicit RecordingFactory(std::shared_ptr<FactoryLog> log) : mLog(std::move(log)) {}

    IResourceDescriptor* CreateResource(const std::wstring& manifest, Label name, const IAttributeContainer& attributes,
                                        IXMLReader&) const override
    {
        const std::string lower = LowerName(name);
        const auto gate = mLog->gates.find(lower);
        if (gate != mLog->gates.end())
            gate->second->Arrive();
        if (mLog->throwFor.count(lower) != 0)
            throw std::runtime_error("factory refused " + lower);
        mLog->Add(lower);
        auto* resource = new ResourceWrapper<TestResource>(manifest, name, attributes);
        resource->value = attributes.GetAttribute(L"value");
        return resource;
    }

    void GetFileListForResource(std::list<FileVariant>* files, const std::wstring&, Label,
                                const IAttributeContainer& attributes, IXMLReader&) const override
    {
        std::wstring list = attributes.GetAttribute(L"files");
        while (!list.empty())
        {
            const size_t end = list.find(L';');
            const std::wstring file = list.substr(0, end);
            list = end == std::wstring::npos ? std::wstring() : list.substr(end + 1);
            const size_t dot = file.find(L'.');
            files->push_back(FileVariant{file.substr(0, dot), {file.substr(dot)}});
        }
    }

private:
    std::shared_ptr<FactoryLog> mLog;
};

// Waits (at most 10 s) until the job has finished; false on time-out.
inline bool WaitForJob(ILoadingJob& job)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!job.IsComplete())
    {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        Sleep(1);
    }
    return true;
}

// Waits (at most 10 s) until the condition holds; false on time-out.
// Each test gets a fresh manager (and loader thread) with the recording factory under "res".
class ResourceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Internal::DeleteAllSingletons();
        manager = GetResourceManager();
        manager->AddResourceFactory(L"res", new RecordingFactory(log));
    }

    void TearDown() override
    {
        manager->Cleanup();
        Internal::DeleteAllSingletons();
    }

    // Stores `body` as the manifest `name`.xml inside a root element.
    void AddManifest(const std::wstring& name, const std::string& body)
    {
        files.AddFile(name + L".xml", "<?xml version=\"1.0\"?>\n<manifest>\n" + body + "</manifest>\n");
    }

    std::shared_ptr<TestResource> Get(const char* name)
    {
        return std::dynamic_pointer_cast<TestResource>(manager->GetResource(Label(name)));
    }
    std::wstring ValueOf(const char* name)
    {
        const auto resource = Get(name);
        return resource ? resource->value : L"<none>";
    }

    // Returns once the loader has finished with every job queued so far: an aborted job reads as
    // finished while the loader may still be inside its current factory call.
    void DrainLoader()
    {
        const std::wstring probe = L"Probe" + std::to_wstring(++mProbes);
        AddManifest(probe, "");
        const auto job = manager->LoadAsync(probe.c_str());
        ASSERT_TRUE(WaitForJob(*job));
        manager->Unload(probe.c_str());
    }

    MemoryFileSource files;
    std::shared_ptr<FactoryLog> log = std::make_shared<FactoryLog>();
    ResourceManager* manager = nullptr;

private:
    int mProbes = 0;
};

// A resource test run inside a mode of type `Mode`, as the main loop runs one: the mode made by
// EnterMode() stays current until the test ends.
template <class Mode>
class ModeResourceTest : public ResourceTest
{
protected:
    void EnterMode()
    {
        mode = std::make_unique<Mode>();
        mContext = std::make_unique<MainLoop::AutoContext>();
        MainLoop::WithinContext(mode.get(), *mContext);
    }

    void TearDown() override
    {
        mContext.reset();
        mode.reset();
        ResourceTest::TearDown();
    }

    std::unique_ptr<Mode> mode;

private:
    std::unique_ptr<MainLoop::AutoContext> mContext;
};

} // namespace Strata::Testing
