#include "graphics/ImageResourceFactory.h"

#include "core/AttributeContainer.h"
#include "core/FileSystem.h"
#include "core/MemoryStream.h"
#include "core/Singleton.h"
#include "core/XMLReader.h"
#include "framework/FileSource.h"
#include "framework/ResourceDescriptor.h"
#include "graphics/Image.h"

#include "support/MemoryDataTest.h"
#include "support/MemoryFileSystemPartition.h"

#include "ImageFixtures.h"

#include <gtest/gtest.h>

#include <list>
#include <memory>
#include <string>
#include <vector>

using namespace Strata;
using Strata::Testing::MemoryFileSystemPartition;

namespace
{

// The game's data in memory, read through the default file source; one manifest element to hand over.
class ImageResourceFactoryTest : public Strata::Testing::MemoryDataTest
{
protected:
    void SetUp() override
    {
        MemoryDataTest::SetUp();
        data->AddFile(L"art/ball.png", ImageFixtures::Read("png_rgba.png"));

        MakeElement("<image/>");
    }

    // Creates the resource from the given attributes; the log lines written meanwhile go to `lines`.
    std::unique_ptr<IResourceDescriptor> Create(const AttributeContainer::AttributeMap& map,
                                                std::vector<std::string>* lines)
    {
        const AttributeContainer attributes(map);
        IResourceDescriptor* made = nullptr;
        *lines = ImageFixtures::LogLines(
            [&] { made = factory.CreateResource(L"manifest", Label("ball"), attributes, *element); });
        return std::unique_ptr<IResourceDescriptor>(made);
    }

    ImageResourceFactory factory;
};

} // namespace

TEST_F(ImageResourceFactoryTest, LoadsTheImageIntoTheResource)
{
    std::vector<std::string> lines;
    auto resource = Create({{L"src", L"ball"}}, &lines);
    ASSERT_NE(resource, nullptr);
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(resource->GetName(), Label("ball"));
    EXPECT_EQ(resource->GetManifest(), L"manifest");
    Image* image = dynamic_cast<Image*>(resource.get());
    ASSERT_NE(image, nullptr);
    EXPECT_GT(image->GetWidth(), 0);
    EXPECT_TRUE(image->HasAlpha());
    EXPECT_NE(dynamic_cast<IImage*>(resource.get()), nullptr);
    // No rotations asked for: no cache.
    EXPECT_EQ(image->GetCachedRotation(Angle()), nullptr);

    auto one = Create({{L"src", L"ball"}, {L"rotations", L"1"}}, &lines);
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(dynamic_cast<Image*>(one.get())->GetRotationCache(), nullptr);
}

TEST_F(ImageResourceFactoryTest, RotationsAreMadeWhenFirstAskedForAndKept)
{
    std::vector<std::string> lines;
    auto resource = Create({{L"src", L"ball"}, {L"rotations", L"4"}}, &lines);
    ASSERT_NE(resource, nullptr);
    Image* image = dynamic_cast<Image*>(resource.get());
    ImageRotationCache* cache = image->GetRotationCache();
    ASSERT_NE(cache, nullptr);
    ASSERT_EQ(cache->GetCount(), 4);
    // Nothing turned is held before it is drawn.
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(cache->GetImage(i), nullptr) << i;
    // A copy asked for stays, although the image has not been uploaded as a texture yet.
    EXPECT_TRUE(image->IsTextureDirty());
    const Image* quarter = image->GetCachedRotation(Angle::FromDegrees(90.0f));
    ASSERT_NE(quarter, nullptr);
    EXPECT_EQ(cache->GetImage(1), quarter);
    EXPECT_EQ(image->GetCachedRotation(Angle::FromDegrees(90.0f)), quarter);
    EXPECT_EQ(cache->GetImage(2), nullptr);
    EXPECT_EQ(quarter->GetWidth(), image->GetHeight());
    EXPECT_EQ(quarter->GetPixel(0, 0), image->GetPixel(0, image->GetHeight() - 1));
}

TEST_F(ImageResourceFactoryTest, TooManyRotationsAreCappedAndLogged)
{
    std::vector<std::string> lines;
    auto resource = Create({{L"src", L"ball"}, {L"rotations", L"100000"}}, &lines);
    ASSERT_NE(resource, nullptr);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("ball"), std::string::npos);
    EXPECT_EQ(dynamic_cast<Image*>(resource.get())->GetRotationCache()->GetCount(), kMaxImageRotations);
}

TEST_F(ImageResourceFactoryTest, MissingImageGivesNoResourceAndOneLine)
{
    std::vector<std::string> lines;
    EXPECT_EQ(Create({{L"src", L"nothing"}}, &lines), nullptr);
    EXPECT_EQ(lines.size(), 1u);
    EXPECT_EQ(Create({}, &lines), nullptr);
    EXPECT_LE(lines.size(), 1u);
}

TEST_F(ImageResourceFactoryTest, FileListHasTheImageAndItsMask)
{
    std::list<FileVariant> files;
    const AttributeContainer attributes(AttributeContainer::AttributeMap{{L"src", L"ball"}});
    factory.GetFileListForResource(&files, L"manifest", Label("ball"), attributes, *element);
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files.front().name, L"ball");
    EXPECT_EQ(files.front().extensions, (std::list<std::wstring>{L".jpg", L".gif", L".png"}));
    EXPECT_EQ(files.back().name, L"ball_mask");
    EXPECT_EQ(files.back().extensions, (std::list<std::wstring>{L".gif", L".png", L".jpg"}));
    factory.GetFileListForResource(nullptr, L"manifest", Label("ball"), attributes, *element);
}
