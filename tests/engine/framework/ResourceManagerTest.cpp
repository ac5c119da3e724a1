#include "framework/ResourceManager.h"

#include "ResourceTestSupport.h"

#include "core/Log.h"
#include "core/MemoryStream.h"
#include "core/RuntimeError.h"

#include <gtest/gtest.h>

using namespace Strata;
using namespace Strata::Testing;

namespace
{

class ResourceManagerTest : public ResourceTest
{
protected:
    // Loads synchronously and expects the job to finish with `status`.
    boost::intrusive_ptr<ILoadingJob> LoadExpecting(const wchar_t* manifest, eLoadingJobStatus status)
    {
        boost::intrusive_ptr<ILoadingJob> job = manager->Load(manifest);
        EXPECT_EQ(job->GetStatus(), status) << job->GetFailureMessage();
        return job;
    }
};

} // namespace

TEST_F(ResourceManagerTest, NamedElementsBecomeResourcesAndOthersDeclareNothing)
{
    AddManifest(L"A", R"(<res name="first" value="1"/>
<res value="no name"/>
<res name="" value="empty name"/>
<unknown name="unregistered">
  <res name="nested" value="inside an unknown tag"/>
</unknown>
<res name="Second" value="2"/>
)");
    LoadExpecting(L"A", eLoadingJobStatus::Complete);

    EXPECT_EQ(log->Created(), (std::vector<std::string>{"first", "nested", "second"}));
    EXPECT_EQ(ValueOf("first"), L"1");
    EXPECT_EQ(ValueOf("SECOND"), L"2") << "names ignore letter case";
    EXPECT_EQ(ValueOf("nested"), L"inside an unknown tag") << "children of an unregistered tag are walked";
    EXPECT_EQ(manager->GetResource(Label("unregistered")), nullptr);
    EXPECT_EQ(manager->GetResource(Label("")), nullptr);
    EXPECT_EQ(manager->GetResource(Label("Res")), nullptr) << "tags are case-sensitive and name nothing";
}

TEST_F(ResourceManagerTest, LoadCountsAndUnload)
{
    AddManifest(L"A", R"(<res name="a1"/><res name="a2"/>)");
    EXPECT_EQ(manager->GetLoadCount(L"A"), 0) << "never loaded";

    const auto first = LoadExpecting(L"A", eLoadingJobStatus::Complete);
    const auto second = manager->LoadAsync(L"A");
    EXPECT_EQ(first, second) << "a loaded manifest keeps its job";
    EXPECT_EQ(manager->GetLoadCount(L"A"), 2);
    EXPECT_EQ(manager->GetLoadCount(L"a"), 0) << "manifest names are case-sensitive";
    EXPECT_EQ(log->Created().size(), 2u) << "the second load reads nothing";

    manager->Unload(L"A");
    EXPECT_EQ(manager->GetLoadCount(L"A"), 1);
    EXPECT_NE(Get("a1"), nullptr) << "one unload of two keeps everything";

    manager->Unload(L"A");
    EXPECT_EQ(manager->GetLoadCount(L"A"), 0);
    EXPECT_EQ(Get("a1"), nullptr);
    EXPECT_EQ(Get("a2"), nullptr);

    manager->Unload(L"A"); // not loaded: ignored
    manager->Unload(nullptr);
    EXPECT_EQ(manager->GetLoadCount(L"A"), 0);

    LoadExpecting(L"A", eLoadingJobStatus::Complete);
    EXPECT_EQ(manager->GetLoadCount(L"A"), 1) << "an unloaded manifest loads afresh";
    EXPECT_EQ(log->Created().size(), 4u);
}

TEST_F(ResourceManagerTest, MissingManifestFailsWithoutRaising)
{
    const auto job = LoadExpecting(L"Nowhere", eLoadingJobStatus::Failed);
    EXPECT_TRUE(job->IsComplete());
    EXPECT_EQ(manager->GetLoadCount(L"Nowhere"), 1) << "the job stays in the table until unloaded";
}

TEST_F(ResourceManagerTest, BadManifestNamesAreRefused)
{
    EXPECT_THROW(manager->LoadAsync(nullptr), RuntimeError);
    EXPECT_THROW(manager->LoadAsync(L""), RuntimeError);
    MemoryStream stream(L"s");
    EXPECT_THROW(manager->LoadFromStream(&stream, L""), RuntimeError);
    EXPECT_THROW(manager->LoadFromStream(nullptr, L"A"), RuntimeError);
    EXPECT_EQ(manager->GetLoadCount(L"A"), 0);
}

TEST_F(ResourceManagerTest, SameManifestRedefinitionKeepsTheLastDefinition)
{
    AddManifest(L"A", R"(<res name="x" value="first"/><res name="X" value="second"/>)");
    LoadExpecting(L"A", eLoadingJobStatus::Complete);
    EXPECT_EQ(ValueOf("x"), L"second");
}

TEST_F(ResourceManagerTest, NameDefinedByTwoManifestsFailsTheSecond)
{
    AddManifest(L"A", R"(<res name="rmShared" value="from A"/>)");
    AddManifest(L"B", R"(<res name="before" value="b"/><res name="RMSHARED" value="from B"/><res name="after"/>)");
    LoadExpecting(L"A", eLoadingJobStatus::Complete);

    const auto job = LoadExpecting(L"B", eLoadingJobStatus::Failed);
    EXPECT_EQ(job->GetFailureMessage(), "The manifests 'A' and 'B' both contain a resource named 'rmShared'.");
    EXPECT_EQ(ValueOf("rmShared"), L"from A") << "the first definition stays";
    EXPECT_EQ(ValueOf("before"), L"b") << "resources before the clash were made";
    EXPECT_EQ(Get("after"), nullptr) << "the pass ends at the clash";
}

TEST_F(ResourceManagerTest, DuplicateFromAStreamReachesTheCaller)
{
    AddManifest(L"A", R"(<res name="rmShared"/>)");
    LoadExpecting(L"A", eLoadingJobStatus::Complete);

    const std::string text = R"(<m><res name="rmShared"/></m>)";
    ReadOnlyMemoryStream stream(L"B.xml", text.data(), text.size());
    try
    {
        manager->LoadFromStream(&stream, L"B");
        FAIL() << "the duplicate must be thrown";
    }
    catch (const RuntimeError& e)
    {
        EXPECT_STREQ(e.what(), "The manifests 'A' and 'B' both contain a resource named 'rmShared'.");
    }
    EXPECT_EQ(manager->GetLoadCount(L"B"), 1);
    EXPECT_EQ(manager->LoadAsync(L"B")->GetStatus(), eLoadingJobStatus::Failed)
        << "the failure is kept on the manifest's job";
}

TEST_F(ResourceManagerTest, AliasesFollowTheirDescriptor)
{
    AddManifest(L"A", R"(<alias name="early" src="target"/>
<res name="target" value="t"/>
<alias name="late" src="target"/>
<alias name="dangling" src="nothing"/>
)");
    AddManifest(L"B", R"(<res name="other" value="o"/>
<alias name="toA" src="target"/>
<alias name="late" src="other"/>
)");
    AddManifest(L"C", R"(<alias name="toB" src="other"/>)");
    LoadExpecting(L"A", eLoadingJobStatus::Complete);
    EXPECT_EQ(Get("early"), nullptr) << "an alias read before its source names nothing";
    EXPECT_EQ(manager->GetResource(Label("late")), manager->GetResource(Label("target")));
    EXPECT_EQ(Get("dangling"), nullptr);

    LoadExpecting(L"B", eLoadingJobStatus::Complete);
    EXPECT_EQ(manager->GetResource(Label("toA")), manager->GetResource(Label("target")));
    EXPECT_EQ(ValueOf("late"), L"o") << "an alias overwrites a name of another manifest without error";
    LoadExpecting(L"C", eLoadingJobStatus::Complete);

    manager->Unload(L"A");
    EXPECT_EQ(Get("target"), nullptr);
    EXPECT_EQ(Get("toA"), nullptr) << "B's alias to A's resource goes with A";
    EXPECT_EQ(ValueOf("late"), L"o") << "A's name now aliasing B's resource stays";

    manager->Unload(L"C");
    EXPECT_EQ(ValueOf("toB"), L"o") << "C's alias to B's resource outlives C";
    manager->Unload(L"B");
    EXPECT_EQ(Get("toB"), nullptr);
    EXPECT_EQ(Get("other"), nullptr);
}

TEST_F(ResourceManagerTest, LoadFromStreamReadsOnceAndCountsEveryCall)
{
    const std::string text = R"(<m><res name="s1" value="v"/></m>)";
    ReadOnlyMemoryStream stream(L"S.xml", text.data(), text.size());
    manager->LoadFromStream(&stream, L"S");
    manager->LoadFromStream(&stream, L"S");
    EXPECT_EQ(manager->GetLoadCount(L"S"), 2);
    EXPECT_EQ(log->Created(), (std::vector<std::string>{"s1"}));
    const auto job = manager->LoadAsync(L"S");
    EXPECT_EQ(job->GetStatus(), eLoadingJobStatus::Complete);
    EXPECT_EQ(manager->GetLoadCount(L"S"), 3);
    EXPECT_EQ(files.GetOpenCount(L"S.xml"), 0) << "the loader never reads a manifest loaded from a stream";
}

TEST_F(ResourceManagerTest, AStreamedManifestIsCompleteWhileItIsRead)
{
    // A factory that asks for its own manifest while the stream is read, as a nested Load would.
    struct AskingFactory : IResourceFactory
    {
        IResourceDescriptor* CreateResource(const std::wstring&, Label, const IAttributeContainer&,
                                            IXMLReader&) const override
        {
            const auto job = GetResourceManager()->LoadAsync(L"S");
            seen->push_back(job->GetStatus());
            GetResourceManager()->Unload(L"S");
            return nullptr;
        }
        std::vector<eLoadingJobStatus>* seen = nullptr;
    };
    std::vector<eLoadingJobStatus> seen;
    auto* factory = new AskingFactory();
    factory->seen = &seen;
    manager->AddResourceFactory(L"ask", factory);

    const std::string text = R"(<m><ask name="during"/></m>)";
    ReadOnlyMemoryStream stream(L"S.xml", text.data(), text.size());
    manager->LoadFromStream(&stream, L"S");
    EXPECT_EQ(seen, std::vector<eLoadingJobStatus>{eLoadingJobStatus::Complete});
    EXPECT_EQ(manager->GetLoadCount(L"S"), 1);
}

TEST_F(ResourceManagerTest, DamagedDocumentFailsTheJob)
{
    AddManifest(L"Bad", R"(<res name="ok"/><res name="broken" value="unclosed>)");
    const auto job = LoadExpecting(L"Bad", eLoadingJobStatus::Failed);
    EXPECT_FALSE(job->GetFailureMessage().empty());
    EXPECT_NE(Get("ok"), nullptr);
}

TEST_F(ResourceManagerTest, FactoryReplacementDeletesTheOldFactory)
{
    struct CountingFactory : IResourceFactory
    {
        explicit CountingFactory(int* deleted) : deleted(deleted) {}
        ~CountingFactory() override { ++*deleted; }
        IResourceDescriptor* CreateResource(const std::wstring&, Label, const IAttributeContainer&,
                                            IXMLReader&) const override
        {
            return nullptr;
        }
        int* deleted;
    };
    int deleted = 0;
    manager->AddResourceFactory(L"count", new CountingFactory(&deleted));
    manager->AddResourceFactory(L"count", new CountingFactory(&deleted));
    EXPECT_EQ(deleted, 1);
    manager->AddResourceFactory(nullptr, new CountingFactory(&deleted));
    EXPECT_EQ(deleted, 2) << "a factory without a tag is deleted, not leaked";

    AddManifest(L"N", R"(<count name="none"/>)");
    LoadExpecting(L"N", eLoadingJobStatus::Complete);
    EXPECT_EQ(manager->GetResource(Label("none")), nullptr) << "a factory that makes nothing declares nothing";

    manager->Cleanup();
    Internal::DeleteAllSingletons();
    EXPECT_EQ(deleted, 3) << "the manager deletes its factories";
    manager = GetResourceManager();
}

TEST_F(ResourceManagerTest, LoadingAndUnloadingAreLoggedOnlyWithDetail)
{
    AddManifest(L"Logged", R"(<res name="l"/>)");
    for (const bool detail : {false, true})
    {
        SCOPED_TRACE(detail ? "detail on" : "detail off");
        SetLogDetail(detail);
        ::testing::internal::CaptureStderr();
        manager->Load(L"Logged");
        manager->Unload(L"Logged");
        const std::string output = ::testing::internal::GetCapturedStderr();
        SetLogDetail(false);
        EXPECT_EQ(output, detail ? "Loading resource file: Logged\nUnloading resource file: Logged\n" : "");
    }
}
