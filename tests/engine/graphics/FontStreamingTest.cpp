// A font whose files are streamed over the network: the loader waits for exactly the files the font
// factory lists, so a missing entry would make the font from files that have not arrived yet.

#include "graphics/FontResourceFactory.h"

#include "ImageFixtures.h"
#include "engine/framework/ResourceTestSupport.h"
#include "framework/ResourceDescriptor.h"
#include "graphics/Font.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

using namespace Strata;
using namespace Strata::Testing;

namespace
{

std::string ReadFontFile(const char* name)
{
    // fixtures -> graphics -> engine -> tests -> source root
    const auto path =
        ImageFixtures::Folder().parent_path().parent_path().parent_path().parent_path() / "data" / "fonts" / name;
    std::ifstream file(path, std::ios::binary);
    EXPECT_TRUE(file) << "missing " << path.string();
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

class FontStreamingTest : public ResourceTest
{
protected:
    void SetUp() override
    {
        ResourceTest::SetUp();
        RegisterFontResourceFactory();
        files.SetStreaming(true);
        AddManifest(L"Fonts", R"(<font name="Small" src="Verdana12"/>)");
    }

    const Font* Small() { return dynamic_cast<const Font*>(manager->GetResource(Label("Small")).get()); }
};

TEST_F(FontStreamingTest, TheMetricsTheImageAndItsMaskAreAskedForInThatOrder)
{
    files.AddFile(L"Verdana12.txt", ReadFontFile("Verdana12.txt"));
    files.AddFile(L"Verdana12.png", ReadFontFile("Verdana12.png"));
    const auto job = manager->Load(L"Fonts");
    EXPECT_EQ(job->GetStatus(), eLoadingJobStatus::Complete);
    ASSERT_NE(Small(), nullptr) << "files already here load as without streaming";
    const std::vector<std::pair<std::wstring, int>> expected = {
        {L"Verdana12.txt", 100},      {L"Verdana12.jpg", 100},      {L"Verdana12.gif", 100},
        {L"Verdana12.png", 100},      {L"Verdana12_mask.gif", 100}, {L"Verdana12_mask.png", 100},
        {L"Verdana12_mask.jpg", 100},
    };
    EXPECT_EQ(files.GetAcquired(), expected);
}

TEST_F(FontStreamingTest, TheFontIsMadeOnlyOnceItsMetricsAndImageHaveArrived)
{
    const TransferPtr metrics = files.ScriptTransfer(L"Verdana12.txt", 400);
    const TransferPtr image = files.ScriptTransfer(L"Verdana12.png", 3000);
    const auto job = manager->LoadAsync(L"Fonts");
    ASSERT_TRUE(WaitUntil([&job] { return job->GetDataTransferSize() == 3400u; })) << "both files are waited for";

    files.AddFile(L"Verdana12.png", ReadFontFile("Verdana12.png"));
    image->Complete();
    DrainLoader();
    EXPECT_EQ(Small(), nullptr) << "no font before its metrics";
    EXPECT_EQ(job->GetStatus(), eLoadingJobStatus::Acquiring);

    files.AddFile(L"Verdana12.txt", ReadFontFile("Verdana12.txt"));
    metrics->Complete();
    ASSERT_TRUE(WaitForJob(*job));
    EXPECT_EQ(job->GetStatus(), eLoadingJobStatus::Complete);
    ASSERT_NE(Small(), nullptr);
    EXPECT_EQ(Small()->GetGlyphHeight(), 15);
}

} // namespace
