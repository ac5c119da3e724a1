#include "framework/ResourceDescriptor.h"

#include "ResourceTestSupport.h"

#include "core/FileSystem.h"
#include "framework/ResourceUtils.h"
#include "framework/SceneResourceTypes.h"
#include "support/MemoryFileSystemPartition.h"

#include <gtest/gtest.h>

using namespace Strata;
using namespace Strata::Testing;

namespace
{

struct Counted
{
    Counted() { ++alive; }
    ~Counted() { --alive; }
    static inline int alive = 0;
};

// Makes ResourceWrapper<SpriteAnimationList> or ResourceWrapper<Counted> elements.
template <class T>
struct WrapperFactory : IResourceFactory
{
    IResourceDescriptor* CreateResource(const std::wstring& manifest, Label name, const IAttributeContainer& attributes,
                                        IXMLReader&) const override
    {
        return new ResourceWrapper<T>(manifest, name, attributes);
    }
};

class ResourceDescriptorTest : public ResourceTest
{
protected:
    void SetUp() override
    {
        ResourceTest::SetUp();
        manager->AddResourceFactory(L"scene", new WrapperFactory<SpriteAnimationList>());
        manager->AddResourceFactory(L"counted", new WrapperFactory<Counted>());
        AddManifest(L"H", R"(<res name="plain" value="text" extra="&amp;more"/>
<scene name="layout" width="800"/>
<counted name="counted"/>
)");
        ASSERT_EQ(manager->Load(L"H")->GetStatus(), eLoadingJobStatus::Complete);
    }
};

} // namespace

TEST_F(ResourceDescriptorTest, HandlesCastToTheirTypeOrHoldNull)
{
    const AutoResource<SpriteAnimationList> byLabel(Label("layout"));
    const AutoResource<SpriteAnimationList> byText("LAYOUT");
    const AutoResource<SpriteAnimationList> byString(std::string("layout"));
    ASSERT_NE(byLabel.Get(), nullptr);
    EXPECT_EQ(byLabel.Get(), byText.Get());
    EXPECT_EQ(byLabel.Get(), byString.Get());
    EXPECT_EQ(byLabel.GetDescriptor()->GetName(), Label("layout"));
    EXPECT_EQ(byLabel.GetDescriptor()->GetManifest(), L"H");

    const AutoResource<SpriteType> wrongType("layout");
    EXPECT_NE(wrongType.GetDescriptor(), nullptr) << "the name exists";
    EXPECT_EQ(wrongType.Get(), nullptr) << "but holds another type";

    const AutoResource<SpriteAnimationList> missing("nothing");
    EXPECT_EQ(missing.GetDescriptor(), nullptr);
    EXPECT_EQ(missing.Get(), nullptr);
    const AutoResource<SpriteAnimationList> nullName(static_cast<const char*>(nullptr));
    EXPECT_EQ(nullName.Get(), nullptr);
}

TEST_F(ResourceDescriptorTest, AnyResourceReadsAsItsElementsAttributes)
{
    const AutoResource<AttributeContainer> attributes("plain");
    ASSERT_NE(attributes.Get(), nullptr);
    EXPECT_EQ(attributes->GetAttribute(L"name"), L"plain");
    EXPECT_EQ(attributes->GetAttribute(L"extra"), L"&more");
    const AutoResource<AttributeContainer> layout("layout");
    ASSERT_NE(layout.Get(), nullptr);
    EXPECT_EQ(layout->GetAttribute(L"width", 0), 800);
}

TEST_F(ResourceDescriptorTest, HandlesKeepTheirResourceAliveAfterUnload)
{
    ASSERT_EQ(Counted::alive, 1);
    {
        const AutoResource<Counted> handle("counted");
        ASSERT_NE(handle.Get(), nullptr);
        manager->Unload(L"H");
        EXPECT_EQ(manager->GetResource(Label("counted")), nullptr);
        EXPECT_EQ(AutoResource<Counted>("counted").Get(), nullptr) << "new handles find nothing";
        EXPECT_EQ(Counted::alive, 1) << "the handle still holds the resource";
        EXPECT_EQ(handle.GetDescriptor()->GetManifest(), L"H");
    }
    EXPECT_EQ(Counted::alive, 0) << "the last holder frees it";
}

TEST_F(ResourceDescriptorTest, ReloadKeepsTheLoadCountWithFreshDescriptors)
{
    manager->Load(L"H");
    ASSERT_EQ(manager->GetLoadCount(L"H"), 2);
    const auto before = manager->GetResource(Label("plain"));

    AddManifest(L"H", R"(<res name="plain" value="changed"/>)");
    ResourceUtils::Reload(L"H");
    EXPECT_EQ(manager->GetLoadCount(L"H"), 2) << "a manifest loaded twice stays loaded twice";
    const auto after = manager->GetResource(Label("plain"));
    ASSERT_NE(after, nullptr);
    EXPECT_NE(after, before);
    EXPECT_EQ(ValueOf("plain"), L"changed");
    EXPECT_EQ(manager->GetResource(Label("layout")), nullptr) << "resources the file no longer has are gone";
    EXPECT_EQ(std::dynamic_pointer_cast<TestResource>(before)->value, L"text") << "an old handle still reads";

    manager->Unload(L"H");
    manager->Unload(L"H");
    EXPECT_EQ(Get("plain"), nullptr) << "two unloads remove the reloaded manifest";
}

TEST_F(ResourceDescriptorTest, ReloadOfAManifestNotLoadedLoadsItOnce)
{
    AddManifest(L"Fresh", R"(<res name="fresh"/>)");
    ResourceUtils::Reload(L"Fresh");
    EXPECT_EQ(manager->GetLoadCount(L"Fresh"), 1);
    EXPECT_NE(Get("fresh"), nullptr);
}

TEST_F(ResourceDescriptorTest, ReloadOfAManifestWhoseFileHasGoneLeavesItUnloaded)
{
    files.RemoveFile(L"H.xml");
    ResourceUtils::Reload(L"H");
    EXPECT_EQ(manager->GetLoadCount(L"H"), 0);
    EXPECT_EQ(Get("plain"), nullptr);
}

TEST_F(ResourceDescriptorTest, ReloadErrorsReachTheCallerAndTheLockIsReleased)
{
    std::vector<std::wstring> journal;
    auto* fileSystem = new FileSystem();
    auto* partition = new MemoryFileSystemPartition(L"data");
    partition->SetJournal(&journal);
    fileSystem->AddFileSystemPartition(FileSystemPartition_Resources, partition);

    AddManifest(L"Other", R"(<res name="taken"/>)");
    ASSERT_EQ(manager->Load(L"Other")->GetStatus(), eLoadingJobStatus::Complete);
    AddManifest(L"H", R"(<res name="taken"/>)");
    EXPECT_THROW(ResourceUtils::Reload(L"H", nullptr, true), RuntimeError);
    EXPECT_EQ(partition->GetLockDepth(), 0);
    EXPECT_GE(std::count(journal.begin(), journal.end(), L"Lock:data"), 1);
    EXPECT_EQ(std::count(journal.begin(), journal.end(), L"Lock:data"),
              std::count(journal.begin(), journal.end(), L"Unlock:data"));
    partition->SetJournal(nullptr);
}
