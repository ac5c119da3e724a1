#include "framework/ResourceLoading.h"

#include "ResourceTestSupport.h"

#include "core/FileSystem.h"
#include "framework/LoadingTask.h"
#include "support/MemoryFileSystemPartition.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

using namespace Strata;
using namespace Strata::Testing;

namespace
{

class ResourceLoadingTest : public ResourceTest
{
protected:
    bool Created(const std::string& name)
    {
        const auto created = log->Created();
        return std::find(created.begin(), created.end(), name) != created.end();
    }
};

// Records what a synchronous load reports; asks to abort once told to.
struct RecordingProgress : IResourceLoadProgress
{
    void OnProgress(float fraction) override
    {
        values.push_back(fraction);
        if (onProgress)
            onProgress();
    }
    bool ShouldAbort() override { return abort; }

    std::vector<float> values;
    bool abort = false;
    std::function<void()> onProgress;
};

} // namespace

TEST_F(ResourceLoadingTest, WithoutStreamingAJobGoesQueuedLoadingComplete)
{
    const auto gate = log->AddGate("held");
    AddManifest(L"A", R"(<res name="held"/><res name="next"/>)");

    const auto job = manager->LoadAsync(L"A");
    ASSERT_TRUE(gate->WaitForArrival());
    EXPECT_EQ(job->GetStatus(), eLoadingJobStatus::Loading);
    EXPECT_FALSE(job->IsComplete());
    gate->Open();
    ASSERT_TRUE(WaitForJob(*job));
    EXPECT_EQ(job->GetStatus(), eLoadingJobStatus::Complete);
    EXPECT_FLOAT_EQ(job->GetResourceLoadPctComplete(), 1.0f);
    EXPECT_EQ(job->GetDataTransferSize(), 0u);
    EXPECT_TRUE(files.GetAcquired().empty()) << "nothing is acquired while streaming is off";
}

TEST_F(ResourceLoadingTest, LoadAsyncWhileTheLoaderIsBusyIsNotLost)
{
    const auto gate = log->AddGate("held");
    AddManifest(L"A", R"(<res name="held"/>)");
    AddManifest(L"B", R"(<res name="b"/>)");
    AddManifest(L"C", R"(<res name="c"/>)");

    const auto a = manager->LoadAsync(L"A");
    ASSERT_TRUE(gate->WaitForArrival());
    const auto b = manager->LoadAsync(L"B");
    const auto c = manager->LoadAsync(L"C");
    EXPECT_EQ(b->GetStatus(), eLoadingJobStatus::Queued);
    gate->Open();
    ASSERT_TRUE(WaitForJob(*c));
    ASSERT_TRUE(WaitForJob(*b));
    EXPECT_EQ(log->Created(), (std::vector<std::string>{"held", "b", "c"})) << "jobs run in the order queued";

    // And once the loader is idle again, a new job still wakes it.
    AddManifest(L"D", R"(<res name="d"/>)");
    EXPECT_EQ(manager->Load(L"D")->GetStatus(), eLoadingJobStatus::Complete);
}

TEST_F(ResourceLoadingTest, ProgressIsReportedAndAnAbortStopsThePass)
{
    AddManifest(L"P", R"(<res name="p1"/><res name="p2"/>)");
    RecordingProgress progress;
    const auto done = manager->Load(L"P", &progress);
    EXPECT_EQ(done->GetStatus(), eLoadingJobStatus::Complete);
    EXPECT_TRUE(std::is_sorted(progress.values.begin(), progress.values.end()));
    for (float value : progress.values)
    {
        EXPECT_GE(value, 0.0f);
        EXPECT_LE(value, 1.0f);
    }

    // The sink asks to abort while the loader waits at the first resource; the gate opens only after
    // the abort, so the pass stops after that resource.
    const auto gate = log->AddGate("first");
    AddManifest(L"Q", R"(<res name="first"/><res name="second"/><res name="third"/>)");
    RecordingProgress aborting;
    aborting.abort = true;
    aborting.onProgress = [&gate] { gate->Open(); };
    const auto aborted = manager->Load(L"Q", &aborting);
    EXPECT_EQ(aborted->GetStatus(), eLoadingJobStatus::Aborted);
    DrainLoader();
    EXPECT_FALSE(Created("second"));
    EXPECT_FALSE(Created("third"));

    aborted->Abort();
    EXPECT_EQ(aborted->GetStatus(), eLoadingJobStatus::Aborted);
    done->Abort();
    EXPECT_EQ(done->GetStatus(), eLoadingJobStatus::Complete) << "a complete job cannot be aborted";
    const auto missing = manager->Load(L"Missing");
    ASSERT_EQ(missing->GetStatus(), eLoadingJobStatus::Failed);
    missing->Abort();
    EXPECT_EQ(missing->GetStatus(), eLoadingJobStatus::Aborted) << "only a complete job stays as it is";
}

TEST_F(ResourceLoadingTest, FactoryErrorFailsTheJobWithItsMessage)
{
    log->throwFor.insert("bad");
    AddManifest(L"E", R"(<res name="good"/><res name="bad"/><res name="never"/>)");
    const auto job = manager->LoadAsync(L"E");
    ASSERT_TRUE(WaitForJob(*job)) << "a job must never stay Loading";
    EXPECT_EQ(job->GetStatus(), eLoadingJobStatus::Failed);
    EXPECT_EQ(job->GetFailureMessage(), "factory refused bad");
    EXPECT_TRUE(Created("good"));
    EXPECT_FALSE(Created("never"));

    AddManifest(L"After", R"(<res name="after"/>)");
    EXPECT_EQ(manager->Load(L"After")->GetStatus(), eLoadingJobStatus::Complete) << "the loader thread lives on";
}

TEST_F(ResourceLoadingTest, UnloadDuringALoadAbortsItAndDropsItsResources)
{
    const auto gate = log->AddGate("held");
    AddManifest(L"U", R"(<res name="held" value="old"/><res name="late" value="old"/>)");

    const auto job = manager->LoadAsync(L"U");
    ASSERT_TRUE(gate->WaitForArrival());
    manager->Unload(L"U");
    EXPECT_EQ(job->GetStatus(), eLoadingJobStatus::Aborted);
    gate->Open();
    DrainLoader();
    EXPECT_EQ(job->GetStatus(), eLoadingJobStatus::Aborted);
    EXPECT_TRUE(Created("held")) << "the factory call under way was finished";
    EXPECT_EQ(Get("held"), nullptr) << "a resource made for an unloaded manifest is not stored";
    EXPECT_EQ(Get("late"), nullptr);
    EXPECT_EQ(manager->GetLoadCount(L"U"), 0);
}

TEST_F(ResourceLoadingTest, AReloadedManifestNeverReceivesTheOldJobsResources)
{
    const auto gate = log->AddGate("held");
    AddManifest(L"U", R"(<res name="held" value="old"/>)");
    const auto oldJob = manager->LoadAsync(L"U");
    ASSERT_TRUE(gate->WaitForArrival());

    manager->Unload(L"U");
    AddManifest(L"U", R"(<res name="fresh" value="new"/>)");
    const auto newJob = manager->LoadAsync(L"U");
    EXPECT_NE(oldJob, newJob);
    gate->Open();
    ASSERT_TRUE(WaitForJob(*newJob));
    EXPECT_EQ(newJob->GetStatus(), eLoadingJobStatus::Complete);
    EXPECT_EQ(Get("held"), nullptr) << "the old job made it while the new job was current";
    EXPECT_EQ(ValueOf("fresh"), L"new");
}

TEST_F(ResourceLoadingTest, AfterCleanupLoadsFailAtOnce)
{
    manager->Cleanup();
    AddManifest(L"Late", R"(<res name="late"/>)");
    const auto job = manager->Load(L"Late");
    EXPECT_EQ(job->GetStatus(), eLoadingJobStatus::Failed);
    EXPECT_FALSE(job->GetFailureMessage().empty());
}

TEST_F(ResourceLoadingTest, ResourceLoadTaskLoadsUnderTheFileSystemLock)
{
    std::vector<std::wstring> journal;
    auto* fileSystem = new FileSystem();
    auto* partition = new MemoryFileSystemPartition(L"data");
    partition->SetJournal(&journal);
    fileSystem->AddFileSystemPartition(FileSystemPartition_Resources, partition);

    AddManifest(L"T", R"(<res name="t"/>)");
    ResourceLoadTask task(L"T");
    RecordingProgress progress;
    task.Execute(&progress);
    EXPECT_EQ(manager->GetLoadCount(L"T"), 1);
    EXPECT_TRUE(Created("t"));
    const auto locks = std::count(journal.begin(), journal.end(), L"Lock:data");
    EXPECT_EQ(locks, 1);
    EXPECT_EQ(std::count(journal.begin(), journal.end(), L"Unlock:data"), locks);
    EXPECT_EQ(partition->GetLockDepth(), 0);

    ResourceLoadTask missing(L"Missing");
    ::testing::internal::CaptureStderr();
    missing.Execute(nullptr);
    const std::string output = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(output.find("Missing"), std::string::npos);
    EXPECT_EQ(std::count(journal.begin(), journal.end(), L"Unlock:data"),
              std::count(journal.begin(), journal.end(), L"Lock:data"))
        << "a failed pass unlocks too";
    partition->SetJournal(nullptr);
}

// ---------------------------------------------------------------------------------------------------
// Streamed files

class StreamedLoadingTest : public ResourceLoadingTest
{
protected:
    void SetUp() override
    {
        ResourceLoadingTest::SetUp();
        files.SetStreaming(true);
    }

    boost::intrusive_ptr<ILoadingJob> StartPending(const wchar_t* manifest)
    {
        auto job = manager->LoadAsync(manifest);
        EXPECT_TRUE(WaitUntil([&job] { return job->GetStatus() == eLoadingJobStatus::Acquiring; }));
        return job;
    }
};

TEST_F(StreamedLoadingTest, FilesAlreadyLocalLoadAsWithoutStreaming)
{
    AddManifest(L"L", R"(<res name="img" files="img.png;img_mask.png"/><alias name="x" src="img"/>)");
    const auto job = manager->Load(L"L");
    EXPECT_EQ(job->GetStatus(), eLoadingJobStatus::Complete);
    EXPECT_TRUE(Created("img"));
    const auto acquired = files.GetAcquired();
    ASSERT_EQ(acquired.size(), 2u);
    EXPECT_EQ(acquired[0], std::make_pair(std::wstring(L"img.png"), 100));
    EXPECT_EQ(acquired[1], std::make_pair(std::wstring(L"img_mask.png"), 100));
}

TEST_F(StreamedLoadingTest, ResourcesWhoseFilesArriveFirstAreCreatedFirst)
{
    const TransferPtr a = files.ScriptTransfer(L"a.png", 100);
    const TransferPtr b = files.ScriptTransfer(L"b.png", 50);
    const TransferPtr c = files.ScriptTransfer(L"c.png", 30);
    AddManifest(L"S", R"(<res name="r1" files="a.png"/>
<res name="r2" files="b.png;c.png"/>
<res name="r3" value="no files"/>
<alias name="r2alias" src="r2"/>
)");
    const auto job = StartPending(L"S");
    // The job turns pending before the loader's next pass counts its transfers.
    ASSERT_TRUE(WaitUntil([&job] { return job->GetDataTransferSize() == 180u; }));
    EXPECT_EQ(job->GetDataTransferNumBytesCopied(), 0u);

    b->Complete();
    a->Copy(40);
    ASSERT_TRUE(WaitUntil([&job] { return job->GetDataTransferNumBytesCopied() == 90u; }));
    a->Complete();
    ASSERT_TRUE(WaitUntil([this] { return Created("r1"); }));
    EXPECT_FALSE(Created("r2")) << "r2 still waits for c.png";
    EXPECT_EQ(job->GetStatus(), eLoadingJobStatus::Acquiring);

    c->Complete();
    ASSERT_TRUE(WaitForJob(*job));
    EXPECT_EQ(job->GetStatus(), eLoadingJobStatus::Complete);
    EXPECT_EQ(log->Created(), (std::vector<std::string>{"r1", "r2", "r3"}))
        << "streamed resources are made once, the rest by the final pass";
    EXPECT_EQ(manager->GetResource(Label("r2alias")), manager->GetResource(Label("r2")));
    EXPECT_EQ(job->GetDataTransferSize(), 180u);
    EXPECT_EQ(job->GetDataTransferNumBytesCopied(), 180u);
    EXPECT_FALSE(job->HasErrorOccurred());
}

TEST_F(StreamedLoadingTest, AFailedTransferStillLetsItsResourceBeMade)
{
    const TransferPtr a = files.ScriptTransfer(L"a.png");
    AddManifest(L"F", R"(<res name="r1" files="a.png"/>)");
    const auto job = StartPending(L"F");
    a->Fail(-3);
    ASSERT_TRUE(WaitForJob(*job));
    EXPECT_EQ(job->GetStatus(), eLoadingJobStatus::Complete);
    EXPECT_EQ(job->GetLastError(), -3) << "the transfer's error is copied to the job";
    EXPECT_TRUE(Created("r1"));
}

TEST_F(StreamedLoadingTest, AbortWhilePendingAbortsTheTransfers)
{
    const TransferPtr a = files.ScriptTransfer(L"a.png");
    const TransferPtr b = files.ScriptTransfer(L"b.png");
    AddManifest(L"A", R"(<res name="r1" files="a.png"/><res name="r2" files="b.png"/><res name="r3"/>)");
    const auto job = StartPending(L"A");
    a->Complete();
    ASSERT_TRUE(WaitUntil([this] { return Created("r1"); }));

    job->Abort();
    ASSERT_TRUE(WaitUntil([&b] { return b->WasAborted(); }));
    EXPECT_EQ(job->GetStatus(), eLoadingJobStatus::Aborted);
    EXPECT_FALSE(a->WasAborted()) << "a finished transfer is left alone";
    EXPECT_NE(Get("r1"), nullptr) << "resources made before the abort stay";
    EXPECT_FALSE(Created("r3"));
}

TEST_F(StreamedLoadingTest, UnloadWhilePendingStoresNothingMore)
{
    const TransferPtr a = files.ScriptTransfer(L"a.png");
    const TransferPtr b = files.ScriptTransfer(L"b.png");
    AddManifest(L"A", R"(<res name="r1" files="a.png"/><res name="r2" files="b.png"/>)");
    const auto job = StartPending(L"A");
    manager->Unload(L"A");
    a->Complete();
    // b never finishes, so its abort shows the loader has dealt with the job.
    ASSERT_TRUE(WaitUntil([&b] { return b->WasAborted(); }));
    EXPECT_EQ(job->GetStatus(), eLoadingJobStatus::Aborted);
    EXPECT_EQ(Get("r1"), nullptr) << "a file arriving after the unload makes nothing";
}

TEST_F(StreamedLoadingTest, StreamedResourcesGetTheDuplicateCheck)
{
    AddManifest(L"Disk", R"(<res name="rmDup" value="disk"/>)");
    files.SetStreaming(false);
    ASSERT_EQ(manager->Load(L"Disk")->GetStatus(), eLoadingJobStatus::Complete);
    files.SetStreaming(true);

    const TransferPtr a = files.ScriptTransfer(L"a.png");
    AddManifest(L"Net", R"(<res name="rmDup" value="net" files="a.png"/>)");
    const auto job = StartPending(L"Net");
    a->Complete();
    ASSERT_TRUE(WaitForJob(*job));
    EXPECT_EQ(job->GetStatus(), eLoadingJobStatus::Failed);
    EXPECT_EQ(job->GetFailureMessage(), "The manifests 'Disk' and 'Net' both contain a resource named 'rmDup'.");
    EXPECT_EQ(ValueOf("rmDup"), L"disk");
}

TEST_F(StreamedLoadingTest, ErrorsWhilePendingOrAcquiringFailTheJob)
{
    log->throwFor.insert("bad");
    const TransferPtr a = files.ScriptTransfer(L"a.png");
    const TransferPtr b = files.ScriptTransfer(L"b.png");
    AddManifest(L"E", R"(<res name="bad" files="a.png"/><res name="other" files="b.png"/>)");
    const auto job = StartPending(L"E");
    a->Complete();
    ASSERT_TRUE(WaitForJob(*job));
    EXPECT_EQ(job->GetStatus(), eLoadingJobStatus::Failed);
    EXPECT_EQ(job->GetFailureMessage(), "factory refused bad");
    EXPECT_TRUE(WaitUntil([&b] { return b->WasAborted(); })) << "a failed job lets go of its transfers";

    // A file name that cannot be a file address fails the acquisition itself.
    AddManifest(L"Long", "<res name=\"long\" files=\"" + std::string(600, 'x') + ".png\"/>");
    const auto longJob = manager->Load(L"Long");
    EXPECT_EQ(longJob->GetStatus(), eLoadingJobStatus::Failed);
    EXPECT_FALSE(longJob->GetFailureMessage().empty());
}

TEST_F(StreamedLoadingTest, CleanupWhileAJobIsPendingReturns)
{
    const TransferPtr a = files.ScriptTransfer(L"a.png");
    AddManifest(L"C", R"(<res name="r1" files="a.png"/>)");
    const auto job = StartPending(L"C");
    manager->Cleanup();
    EXPECT_EQ(job->GetStatus(), eLoadingJobStatus::Aborted);
    EXPECT_TRUE(a->WasAborted());
    EXPECT_FALSE(Created("r1"));
}

TEST_F(StreamedLoadingTest, MissingManifestFailsTheAcquisition)
{
    const auto job = manager->Load(L"Nowhere");
    EXPECT_EQ(job->GetStatus(), eLoadingJobStatus::Failed);
}

TEST_F(ResourceLoadingTest, TheJobTableIsSharedBetweenThreads)
{
    // The loading mode's worker loads while the main thread loads and unloads other manifests.
    for (int i = 0; i < 5; ++i)
        AddManifest(L"W" + std::to_wstring(i), "<res name=\"w" + std::to_string(i) + "\"/>");
    AddManifest(L"Main", R"(<res name="main"/>)");
    std::thread worker(
        []
        {
            for (int i = 0; i < 5; ++i)
                ResourceLoadTask(L"W" + std::to_wstring(i)).Execute(nullptr);
        });
    for (int i = 0; i < 20; ++i)
    {
        manager->LoadAsync(L"Main");
        EXPECT_GE(manager->GetLoadCount(L"Main"), 1);
        manager->Unload(L"Main");
    }
    worker.join();
    for (int i = 0; i < 5; ++i)
    {
        EXPECT_EQ(manager->GetLoadCount(L"W" + std::to_wstring(i)), 1);
        EXPECT_TRUE(Created("w" + std::to_string(i)));
    }
    EXPECT_EQ(manager->GetLoadCount(L"Main"), 0);
}
